#pragma once
#include <functional>
#include <string>

namespace rsgz::app {

// Where the program finds its shipped files and where it keeps its working folders.
//
// Run from a program directory it may write (the build's rsgz/, an unpacked copy), that directory
// is both: init/vesk.db, set/, data/, bak/ … beside the program, as always.
// Installed (the program in /usr/bin, its files in /usr/share/rsgz), the shipped files are only
// read, and each user keeps the working folders in $XDG_DATA_HOME/rsgz, normally
// ~/.local/share/rsgz. Running as root does not change that: the program never writes into /usr.
struct ProgramFolders {
    std::string workDir;    // data/, bak/, set/, baobiao/, 照片/ and the settings files; with a trailing '/'
    std::string sharedDir;  // init/vesk.db and the shipped set/ and baobiao/ files; with a trailing '/'
    bool installed = false; // the working folders are the user's own, apart from the program

    std::string templatePath() const { return sharedDir + "init/vesk.db"; }
};

// Reads one environment variable; empty when it is not set. Tests hand their own.
using Environment = std::function<std::string(const char* name)>;
Environment processEnvironment();

// Decides the folders from the directory the program file lies in.
ProgramFolders locateProgramFolders(const std::string& programDir, const Environment& env);

// For an installed program: makes the working folders (the top one readable by the user only: it
// holds personnel and payroll data) and copies every shipped settings file that is not there yet.
// Files already there are the user's and stay as they are; the shipped ones are never written.
// Nothing happens for a program directory. Throws std::runtime_error, in words for the user and
// naming the folder or file, when a folder cannot be made or a file cannot be copied.
void prepareWorkFolders(const ProgramFolders& folders);

// The working folders as the user reads them (no trailing separator).
std::string shownFolder(const std::string& dir);

}  // namespace rsgz::app
