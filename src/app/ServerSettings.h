#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "db/ServerTarget.h"

namespace rsgz::app {

// set/database.ini chooses a database server instead of data/vesk.db:
//
//     [server]
//     host=db.example.org   ; a host name or address, or the folder of the server's socket
//     port=5432             ; optional, 5432 when left out
//     database=rsgz
//
// No password is ever kept in it: the operator's name and password come from the login window.
struct ServerSettings {
    std::string host;
    int port = 5432;
    std::string database;

    // The server target for an operator logging in with that name and password.
    db::ServerTarget target(const std::string& user, const std::string& password) const;
    // host:port/database, as the messages name the server.
    std::string where() const;
};

// The settings file below the working folders.
std::string serverSettingsPath(const std::string& workDir);

// The text of the file as read; the file's name only goes into the messages. Throws
// std::runtime_error naming the file and the line when the text is not a sound settings file.
ServerSettings parseServerSettings(std::string_view text, const std::string& fileName);

// The settings of the working folders, nullopt when there is no settings file (the database is
// the file data/vesk.db). Throws std::runtime_error, in words for the user, for a file that
// cannot be read or is not sound.
std::optional<ServerSettings> readServerSettings(const std::string& workDir);

// The settings file's text for those settings.
std::string serverSettingsText(const ServerSettings& settings);
// Writes the settings file of the working folders, through a temporary file renamed over it.
// Throws std::runtime_error in words for the user.
void writeServerSettings(const std::string& workDir, const ServerSettings& settings);

}  // namespace rsgz::app
