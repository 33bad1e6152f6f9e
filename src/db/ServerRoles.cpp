// The roles of an office on a database server: made by the server's administrator when the office
// is made, managed afterwards by the operators through functions of the office's owner.
#include "db/ServerRoles.h"

#include <libpq-fe.h>

#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/LatinCase.h"
#include "db/Native.h"
#include "db/SchemaUpgrade.h"
#include "db/ServerBackend.h"
#include "db/SqlText.h"

namespace rsgz::db {

namespace {

constexpr size_t kMaxNameBytes = 63;  // the server cuts longer names

std::string name(const std::string& n) { return postgresDialect().quoteName(n); }
std::string quoted(const std::string& s) { return sqlQuote(s); }
std::string table(const std::string& t) { return "public." + name(foldLatin(t)); }

struct Result {
    PGresult* r;
    ~Result() { PQclear(r); }
};

// A statement in the server's own words with its values as text; the rows of its first column.
std::vector<std::string> run(ServerSession& s, const std::string& sql, const std::vector<std::string>& values = {})
{
    std::vector<const char*> v;
    for (const std::string& x : values) v.push_back(x.c_str());
    PGresult* r = PQexecParams(s.conn(), sql.c_str(), static_cast<int>(v.size()), nullptr, v.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) s.fail(r, sql);
    Result guard{r};
    std::vector<std::string> rows;
    if (PQnfields(r) > 0)
        for (int i = 0; i < PQntuples(r); ++i) rows.emplace_back(PQgetvalue(r, i, 0));
    return rows;
}

// What the server keeps of a password: its SCRAM verifier, worked out here.
std::string verifier(ServerSession& s, const std::string& user, const std::string& password)
{
    char* v = PQencryptPasswordConn(s.conn(), password.c_str(), user.c_str(), "scram-sha-256");
    if (!v) throw DbError(DbError::Kind::Other, "无法为操作员 " + user + " 的密码生成校验值：" + std::string(PQerrorMessage(s.conn())));
    std::string out(v);
    PQfreemem(v);
    return out;
}

std::string textArray(const std::vector<std::string>& items)
{
    std::string out = "{";
    for (const std::string& i : items) {
        if (out.size() > 1) out += ',';
        out += '"';
        for (char c : i) {
            if (c == '"' || c == '\\') out += '\\';
            out += c;
        }
        out += '"';
    }
    return out + "}";
}

std::vector<std::string> groupRoles(const std::string& database, const OfficeGrants& grants)
{
    std::vector<std::string> roles = {officeRole(database, "operators")};
    for (const std::string& r : grants.rights) roles.push_back(officeRole(database, r));
    return roles;
}

// The functions by which the operators manage each other, and the view of the operators. They
// find the office's roles by the name of the database they run in.
std::vector<std::string> functionSql(const OfficeGrants& g)
{
    std::string rights = "array[";
    for (size_t i = 0; i < g.rights.size(); ++i) rights += (i ? "," : "") + quoted(g.rights[i]);
    rights += "]::text[]";
    const std::string manage = quoted(g.manageRight);
    const std::string head = " security definer set search_path = pg_catalog, pg_temp as $f$\n";
    const std::string operatorRow = "r.rolcanlogin and not r.rolsuper and pg_has_role(r.oid, public.rsgz_role('operators'), 'member')";
    const std::string lastManager =
        "pg_has_role(who, public.rsgz_role(" + manage + "), 'member') and not exists (select 1 from pg_roles r where r.rolname <> who and "
        + operatorRow + " and pg_has_role(r.oid, public.rsgz_role(" + manage + "), 'member'))";
    const std::string member =
        "exists (select 1 from pg_auth_members m where m.roleid = (select oid from pg_roles where rolname = public.rsgz_role(what)) "
        "and m.member = (select oid from pg_roles where rolname = who))";
    std::vector<std::string> sql = {
        "create function public.rsgz_role(what text) returns text language sql stable set search_path = pg_catalog, pg_temp "
        "as $f$ select current_database() || '_' || what $f$",
        "create function public.rsgz_check(who text, own boolean) returns void language plpgsql" + head
            + "begin\n if not (own and who = session_user) and not pg_has_role(session_user, public.rsgz_role(" + manage
            + "), 'member') then\n  raise exception '权限不足!不能进行权限管理!' using errcode = '42501';\n end if;\n"
              " if who is null or length(who) = 0 or octet_length(who) > 63 then\n"
              "  raise exception '操作员名称不能为空，也不能超过 63 个字节。' using errcode = '22023';\n end if;\nend $f$",
        "create function public.rsgz_known(who text, what text) returns void language plpgsql" + head
            + "begin\n if who is not null and not exists (select 1 from pg_roles r where r.rolname = who and " + operatorRow
            + ") then\n  raise exception '“%”不是这个数据库的操作员。', who using errcode = '42704';\n end if;\n"
              " if what is not null and not (what = any (" + rights + ")) then\n"
              "  raise exception '没有名为“%”的权限。', what using errcode = '22023';\n end if;\nend $f$",
        "create function public.rsgz_verifier(v text) returns void language plpgsql" + head
            + "begin\n if v is null or v not like 'SCRAM-SHA-256$%' then\n"
              "  raise exception '密码只能以加密后的校验值交给服务器。' using errcode = '22023';\n end if;\nend $f$",
        "create function public.rsgz_add_operator(who text, v text, rights text[]) returns void language plpgsql" + head
            + "declare what text;\nbegin\n perform public.rsgz_check(who, false);\n perform public.rsgz_verifier(v);\n"
              " if exists (select 1 from pg_roles where rolname = who) then\n"
              "  raise exception '数据库服务器上已经有名为“%”的角色，请换一个操作员名称。', who using errcode = '42710';\n end if;\n"
              " foreach what in array coalesce(rights, '{}') loop perform public.rsgz_known(null, what); end loop;\n"
              " execute format('create role %I login password %L', who, v);\n"
              " execute format('grant %I to %I', public.rsgz_role('operators'), who);\n"
              " foreach what in array coalesce(rights, '{}') loop\n"
              "  execute format('grant %I to %I', public.rsgz_role(what), who);\n end loop;\nend $f$",
        "create function public.rsgz_drop_operator(who text) returns void language plpgsql" + head
            + "begin\n perform public.rsgz_check(who, false);\n perform public.rsgz_known(who, null);\n"
              " if who = session_user then\n  raise exception '不能删除正在登录的操作员“%”。', who using errcode = '55006';\n end if;\n"
              " if " + lastManager + " then\n  raise exception '最少有一个操作员!' using errcode = '55000';\n end if;\n"
              " execute format('drop role %I', who);\nend $f$",
        "create function public.rsgz_set_password(who text, v text) returns void language plpgsql" + head
            + "begin\n perform public.rsgz_check(who, true);\n perform public.rsgz_known(who, null);\n perform public.rsgz_verifier(v);\n"
              " execute format('alter role %I password %L', who, v);\nend $f$",
        "create function public.rsgz_set_right(who text, what text, held boolean) returns void language plpgsql" + head
            + "begin\n perform public.rsgz_check(who, false);\n perform public.rsgz_known(who, what);\n"
              " if held and not " + member + " then\n  execute format('grant %I to %I', public.rsgz_role(what), who);\n"
              " elsif not held and " + member + " then\n"
              "  if what = " + manage + " and " + lastManager + " then\n"
              "   raise exception '最少有一个操作员!' using errcode = '55000';\n  end if;\n"
              "  execute format('revoke %I from %I', public.rsgz_role(what), who);\n end if;\nend $f$",
    };
    std::string view = "create view public." + std::string(kOperatorView) + " as select r.rolname::text as " + name("姓名")
        + ", ''::text as " + name("密码");
    for (const std::string& r : g.rights)
        view += ", pg_has_role(r.oid, public.rsgz_role(" + quoted(r) + "), 'member') as " + name(r);
    view += " from pg_roles r where " + operatorRow + " order by r.oid";
    sql.push_back(view);
    return sql;
}

void grantTables(ServerSession& s, const std::string& database, const OfficeGrants& g)
{
    const std::string ops = name(officeRole(database, "operators"));
    const auto exists = [&](const std::string& t) { return run(s, "select to_regclass($1) is not null", {table(t)}).front() == "t"; };
    s.exec("grant select on all tables in schema public to " + ops);
    s.exec("grant usage on all sequences in schema public to " + ops);
    s.exec("alter default privileges in schema public grant select on tables to " + ops);
    for (const std::string& t : g.everyoneWrites)
        if (exists(t)) s.exec("grant insert, update, delete on " + table(t) + " to " + ops);
    for (const auto& [right, tables] : g.writesOfRight)
        for (const std::string& t : tables)
            if (exists(t)) s.exec("grant insert, update, delete on " + table(t) + " to " + name(officeRole(database, right)));
    for (const auto& [right, columns] : g.columnUpdatesOfRight)
        for (const auto& [t, column] : columns)
            if (exists(t))
                s.exec("grant update (" + name(foldLatin(column)) + ") on " + table(t) + " to " + name(officeRole(database, right)));
}

// Everything inside the new database, as its owner, in one transaction.
void fillOffice(const ServerTarget& inside, const std::string& database, const OfficeGrants& g, const std::string& first,
                const std::string& password)
{
    Connection conn(inside);
    ServerSession& s = Native::server(conn);
    const std::string owner = name(officeRole(database, "owner"));
    const std::string ops = name(officeRole(database, "operators"));
    Transaction tx(conn);
    s.exec("set local role " + owner);
    createSchemaAt(conn, currentSchemaVersion());
    for (const std::string& role : groupRoles(database, g)) s.exec("create role " + name(role) + " nologin");
    grantTables(s, database, g);
    for (const std::string& sql : functionSql(g)) s.exec(sql);
    for (const char* f : {"rsgz_role(text)", "rsgz_check(text, boolean)", "rsgz_known(text, text)", "rsgz_verifier(text)",
                          "rsgz_add_operator(text, text, text[])", "rsgz_drop_operator(text)",
                          "rsgz_set_password(text, text)", "rsgz_set_right(text, text, boolean)"}) {
        s.exec(std::string("revoke all on function public.") + f + " from public");
        s.exec(std::string("grant execute on function public.") + f + " to " + ops);
    }
    s.exec("grant select on public." + std::string(kOperatorView) + " to " + ops);
    s.exec("revoke all on database " + name(database) + " from public");
    s.exec("grant connect, temporary on database " + name(database) + " to " + ops);
    s.exec("reset role");
    // The administrator's session passes the check of the managing right.
    run(s, "select public.rsgz_add_operator($1, $2, $3)", {first, verifier(s, first, password), textArray(g.rights)});
    tx.commit();
}

}  // namespace

std::string officeRole(const std::string& database, const std::string& what) { return database + "_" + what; }

size_t maxOfficeNameBytes(const OfficeGrants& grants)
{
    size_t longest = std::string("operators").size();
    for (const std::string& r : grants.rights) longest = std::max(longest, r.size());
    return kMaxNameBytes - 1 - longest;
}

void createOffice(const ServerTarget& admin, const std::string& database, const OfficeGrants& grants,
                  const std::string& firstOperator, const std::string& password)
{
    if (database.empty() || database.size() > maxOfficeNameBytes(grants))
        throw DbError(DbError::Kind::Other, "数据库名称不能为空，也不能超过 " + std::to_string(maxOfficeNameBytes(grants))
                                               + " 个字节（权限角色的名称由它和权限名组成）。");
    if (firstOperator.empty() || firstOperator.size() > kMaxNameBytes || password.empty())
        throw DbError(DbError::Kind::Other, "第一个操作员的名称和密码都不能为空，名称不能超过 63 个字节。");
    {
        ServerSession s(admin);
        if (!run(s, "select 1 from pg_database where datname = $1", {database}).empty())
            throw DbError(DbError::Kind::Duplicate, "数据库服务器上已经有名为 " + database + " 的数据库。");
        std::vector<std::string> roles = groupRoles(database, grants);
        roles.push_back(officeRole(database, "owner"));
        roles.push_back(firstOperator);
        for (const std::string& role : roles)
            if (!run(s, "select 1 from pg_roles where rolname = $1", {role}).empty())
                throw DbError(DbError::Kind::Duplicate, "数据库服务器上已经有名为 " + role + " 的角色。");
        s.exec("create role " + name(officeRole(database, "owner")) + " nologin createrole");
    }
    try {
        createServerDatabase(admin, database, officeRole(database, "owner"));
        ServerTarget inside = admin;
        inside.database = database;
        fillOffice(inside, database, grants, firstOperator, password);
    } catch (...) {
        try {
            dropOffice(admin, database, grants);
        } catch (const DbError&) {
            // What could not be removed is named by the error that stopped the making.
        }
        throw;
    }
}

void dropOffice(const ServerTarget& admin, const std::string& database, const OfficeGrants& grants)
{
    ServerSession s(admin);
    const std::vector<std::string> operators = run(s,
        "select r.rolname from pg_roles r join pg_auth_members m on m.member = r.oid join pg_roles g on g.oid = m.roleid "
        "where g.rolname = $1 and r.rolcanlogin and not r.rolsuper", {officeRole(database, "operators")});
    s.exec("drop database if exists " + name(database) + " with (force)");
    for (const std::string& op : operators) s.exec("drop role if exists " + name(op));
    for (const std::string& role : groupRoles(database, grants)) s.exec("drop role if exists " + name(role));
    s.exec("drop role if exists " + name(officeRole(database, "owner")));
}

void grantOfficeTables(const ServerTarget& adminInOffice, const OfficeGrants& grants)
{
    Connection conn(adminInOffice);
    ServerSession& s = Native::server(conn);
    Transaction tx(conn);
    s.exec("set local role " + name(officeRole(adminInOffice.database, "owner")));
    grantTables(s, adminInOffice.database, grants);
    tx.commit();
}

int upgradeOffice(const ServerTarget& adminInOffice, const OfficeGrants& grants)
{
    Connection conn(adminInOffice);
    ServerSession& s = Native::server(conn);
    Transaction tx(conn);
    const int had = schemaVersionOf(conn);
    if (had > currentSchemaVersion())
        throw DbError(DbError::Kind::Other, "数据库 " + adminInOffice.database + " 是第" + std::to_string(had)
                                               + "版，由更新版本的程序建立；本程序只能升级到第" + std::to_string(currentSchemaVersion()) + "版。");
    s.exec("set local role " + name(officeRole(adminInOffice.database, "owner")));
    applySchemaSteps(conn);
    grantTables(s, adminInOffice.database, grants);
    tx.commit();
    return had;
}

void createOperator(Connection& conn, const std::string& who, const std::string& password, const std::vector<std::string>& rights)
{
    ServerSession& s = Native::server(conn);
    run(s, "select public.rsgz_add_operator($1, $2, $3)", {who, verifier(s, who, password), textArray(rights)});
}

void dropOperator(Connection& conn, const std::string& who) { run(Native::server(conn), "select public.rsgz_drop_operator($1)", {who}); }

void setOperatorPassword(Connection& conn, const std::string& who, const std::string& password)
{
    ServerSession& s = Native::server(conn);
    run(s, "select public.rsgz_set_password($1, $2)", {who, verifier(s, who, password)});
}

void setOperatorRight(Connection& conn, const std::string& who, const std::string& right, bool held)
{
    run(Native::server(conn), "select public.rsgz_set_right($1, $2, $3)", {who, right, held ? "true" : "false"});
}

}  // namespace rsgz::db
