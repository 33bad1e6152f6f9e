#pragma once
#include <string>
#include <utility>
#include <vector>

namespace rsgz::sample {

using Words = std::vector<std::string>;

// The word lists the sample organisation is made of. The suggestion lists are keyed by the column
// they serve, as 数据字典 keys them, and the employee columns draw from the same lists, so what the
// records hold is what the lists offer.
struct SampleWords {
    static const std::vector<std::pair<std::string, Words>>& dictionary();
    static const Words& list(const std::string& key);  // one dictionary list; throws for an unknown key

    struct Surname {
        std::string hanzi, pinyin;
    };
    static const std::vector<Surname>& surnames();
    static const std::string& givenChars(bool male);  // characters for given names, as one UTF-8 text

    struct City {
        std::string province, city, areaCode, postcode, idPrefix;
        Words districts;
    };
    static const std::vector<City>& cities();  // the first is where the organisation is
    static const Words& roads();
    static const Words& estates();

    // The department tree: each path from level 1 down to a node, one to four names.
    static const std::vector<Words>& departmentPaths();
    static const Words& postsOf(const std::string& firstLevel);
    static const Words& tradesOf(const std::string& firstLevel);

    static const Words& schoolsFor(const std::string& education);
    static const Words& majorsFor(const std::string& education);

    struct Bank {
        std::string name, prefix;
    };
    static const std::vector<Bank>& banks();
    static const Words& payrollSets();
    static const Words& salaryGrades();
    static const Words& salaryItems();
    static const Words& companies();  // other organisations: former employers, relatives' workplaces
    static const Words& hobbies();
    static const Words& skills();
    static const Words& remarks();
};

}  // namespace rsgz::sample
