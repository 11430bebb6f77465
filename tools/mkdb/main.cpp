// kx_mkdb build <schema.sql> <rows.sql> <out.mdb> <key>
//     Makes a new protected database from the two scripts. The file is written beside <out.mdb>
//     and renamed over it only when complete, so a failed run leaves no half-made file.
// kx_mkdb install <from.mdb> <to.mdb>
//     Copies <from.mdb> to <to.mdb> only when <to.mdb> does not exist; an existing file (a user's
//     data) is never replaced. Exit status 0 in both cases.

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

bool readText(const fs::path &path, std::string *out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    *out = s.str();
    return true;
}

bool run(sqlite3 *db, const std::string &sql, const fs::path &from)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::cerr << "kx_mkdb: " << from.string() << ": " << (message ? message : "failed")
                  << '\n';
        sqlite3_free(message);
        return false;
    }
    return true;
}

int build(const fs::path &schemaPath, const fs::path &rowsPath, const fs::path &out,
          const std::string &key)
{
    std::string schema;
    std::string rows;
    if (!readText(schemaPath, &schema) || !readText(rowsPath, &rows)) {
        std::cerr << "kx_mkdb: cannot read the scripts\n";
        return 1;
    }
    std::error_code ec;
    fs::create_directories(out.parent_path(), ec);
    const fs::path temp = out.string() + ".part";
    fs::remove(temp, ec);

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        std::cerr << "kx_mkdb: cannot create " << temp.string() << '\n';
        sqlite3_close(db);
        return 1;
    }
    bool ok = sqlite3_key(db, key.data(), static_cast<int>(key.size())) == SQLITE_OK;
    ok = ok && run(db, "BEGIN", out);
    ok = ok && run(db, schema, schemaPath);
    ok = ok && run(db, rows, rowsPath);
    ok = ok && run(db, "COMMIT", out);
    ok = sqlite3_close(db) == SQLITE_OK && ok;
    if (!ok) {
        fs::remove(temp, ec);
        return 1;
    }
    fs::rename(temp, out, ec);
    if (ec) {
        std::cerr << "kx_mkdb: cannot write " << out.string() << ": " << ec.message() << '\n';
        fs::remove(temp, ec);
        return 1;
    }
    return 0;
}

int install(const fs::path &from, const fs::path &to)
{
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec)))
        return 0; // the user's database stays as it is
    fs::create_directories(to.parent_path(), ec);
    const fs::path temp = to.string() + ".part";
    fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        fs::rename(temp, to, ec);
    if (ec) {
        std::cerr << "kx_mkdb: cannot copy to " << to.string() << ": " << ec.message() << '\n';
        fs::remove(temp, ec);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "build" && argc == 6)
        return build(argv[2], argv[3], argv[4], argv[5]);
    if (command == "install" && argc == 4)
        return install(argv[2], argv[3]);
    std::cerr << "usage: kx_mkdb build <schema.sql> <rows.sql> <out.mdb> <key>\n"
                 "       kx_mkdb install <from.mdb> <to.mdb>\n";
    return 2;
}
