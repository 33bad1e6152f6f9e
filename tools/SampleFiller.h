// The filler behind the sample data tool: the random draws, the people it makes and the writers of
// their rows. Split over SampleData.cpp (the organisation and the employees) and SampleSubRecords.cpp.
#pragma once

#include <QDate>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "SampleWords.h"
#include "TableWriter.h"
#include "db/Connection.h"
#include "db/Money.h"
#include "db/Value.h"

namespace rsgz::sample::detail {

using db::Money;
using db::Value;

const char* const kCompany = "南京宏远机械制造有限公司";
const char* const kCompanyFax = "025-84561230";

inline Value date(const QDate& d) { return d.isValid() ? Value::fromDate(d) : Value(); }
inline Value text(const std::string& s) { return s.empty() ? Value() : Value(s); }

// The random source and the small draws everything else is made of.
class Dice {
public:
    explicit Dice(unsigned seed) : rng_(seed) {}
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    double normal(double mean, double sd) { return std::normal_distribution<double>(mean, sd)(rng_); }
    template <class T>
    const T& pick(const std::vector<T>& from) { return from[static_cast<size_t>(between(0, static_cast<int>(from.size()) - 1))]; }
    std::string digits(int n)
    {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>('0' + between(i == 0 ? 1 : 0, 9));
        return s;
    }
    QDate dateBetween(const QDate& a, const QDate& b)
    {
        if (!a.isValid() || !b.isValid() || b <= a) return a;
        return a.addDays(between(0, static_cast<int>(a.daysTo(b))));
    }

private:
    std::mt19937 rng_;
};

inline std::string utf8Char(const std::string& chars, size_t index)
{
    // Every character of the given-name lists is three bytes in UTF-8.
    return chars.substr(index * 3, 3);
}

inline std::string padded(int64_t n, int width)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(n));
    return buf;
}

// The check character of an 18-character identity card number.
inline char idCheck(const std::string& first17)
{
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 17; ++i) sum += (first17[static_cast<size_t>(i)] - '0') * weights[i];
    return "10X98765432"[sum % 11];
}

// The Luhn check digit a bank card number ends with.
inline char luhnCheck(const std::string& body)
{
    int sum = 0;
    bool twice = true;
    for (auto it = body.rbegin(); it != body.rend(); ++it, twice = !twice) {
        int d = *it - '0';
        if (twice && (d *= 2) > 9) d -= 9;
        sum += d;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

struct Person {
    std::string number, name, surname, surnamePinyin, sex, education, post, politics, status, payrollSet, grade;
    Words department;  // one to four levels
    QDate birth, graduated, workStart, hired;
    QDate left;  // the day the employee left or retired; invalid while employed
    QDate until(const QDate& today) const { return left.isValid() ? left : today; }
    const SampleWords::City* home = nullptr;
    const SampleWords::City* native = nullptr;
};

class SampleFiller {
public:
    SampleFiller(db::Connection& conn, unsigned seed) : conn_(conn), dice_(seed), today_(QDate::currentDate()) {}
    void run(int employees);

private:
    int64_t count(const std::string& table);
    void fillLookups();
    void fillDictionary();
    void fillDepartments();
    void fillPayroll();
    void fillCompany();
    void fillCourses();
    void fillEvaluationItems();
    void fillArticles();
    void readBack();
    void settleCounts();

    Person makePerson(int64_t serial);
    std::string personName(bool male, std::string* pinyin = nullptr, std::string* surname = nullptr);
    std::string givenName(bool male);
    void writeEmployee(const Person& p, int64_t serial);
    void setIdentity(TableWriter& w, const Person& p);
    void setPlaces(TableWriter& w, const Person& p);
    void setEducation(TableWriter& w, const Person& p);
    void setEmployment(TableWriter& w, const Person& p, int64_t serial);
    void setBody(TableWriter& w, const Person& p);
    void setContacts(TableWriter& w, const Person& p);
    void setOwnFields(TableWriter& w, const Person& p, int64_t serial);
    std::string address(const SampleWords::City& c);
    std::string mobile();
    std::string landline(const SampleWords::City& c);
    std::string resume(const Person& p);

    void writeSubRecords(const Person& p);
    void writeHistory(const Person& p, int rows);
    void writeRelations(const Person& p, int rows);
    void writeCertificates(const Person& p, int rows);
    void writeTransfer(const Person& p);
    void writeTitle(const Person& p);
    void writeRewards(const Person& p);
    void writeSalaryChanges(const Person& p);
    void writeTraining(const Person& p, int rows);
    void writeEvaluations(const Person& p);
    void writeIssues(const Person& p);

    db::Connection& conn_;
    Dice dice_;
    QDate today_;
    std::unique_ptr<TableWriter> employees_, history_, relations_, certificates_, transfers_, titles_, rewards_,
        salaryChanges_, training_, evaluations_, issues_;
    Words courseNumbers_, evaluationNumbers_, evaluators_;
    struct Article {
        int64_t key;
        std::string name;
        Money price;
    };
    std::vector<Article> articles_;
};

}  // namespace rsgz::sample::detail
