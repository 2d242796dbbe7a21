// qzpack: builds, lists, verifies and extracts the installer's package files.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "qzpack/commands/commands.h"
#include "qzpack/host/host_text.h"
#include "qzpack/terminal/terminal_progress.h"

namespace {

constexpr char kExitCodes[] =
    "Exit status, for every command: 0 success; 1 the package (or the folder) was\n"
    "refused or the operation failed; 2 usage error (a bad command line).\n";
constexpr char kWarnings[] =
    "Warnings (exit status 0; --strict makes them refuse): names that differ only\n"
    "in letter case (the later replaces the earlier on Windows); a missing\n"
    "ravik.exe, uninstall.exe, data\\pendrel.exe or data\\skelmot\\setup.exe;\n"
    "names so long that every path no longer fits below the usual install\n"
    "directory C:\\Program Files (x86)\\Qorvane\\ (the room for the install\n"
    "directory is printed: every file's full path must stay within 259 bytes).\n";
constexpr char kCreateHelp[] =
    "Packs every file below FOLDER into a package. Files are taken in the byte\n"
    "order of their names in GBK, so the same tree always gives the same bytes.\n"
    "Empty directories are not carried: a package holds files only.\n"
    "Refused, naming the source file, by the installer's own rules: a name GBK\n"
    "cannot represent or longer than 259 bytes in GBK; a level longer than 255\n"
    "characters; CON and other device names; a level ending in a dot or a space;\n"
    "\\ < > \" | ? * : and control characters; install.log at the top; a file\n"
    "whose name another file needs as a folder (letter case aside); links to\n"
    "directories, special files; files adding up to more than 2,147,483,647 bytes.\n"
    "A link to a file inside FOLDER is followed; one that leads outside is refused,\n"
    "naming the link and its target.\n"
    "The package is written under a new temporary name (OUTPUT.part-...) and\n"
    "renamed when complete.\n";
constexpr char kListHelp[] = "Prints each entry's index, size and name, then the total.\n";
constexpr char kVerifyHelp[] =
    "Checks the package as the installer would: the header, a complete directory,\n"
    "the names (each refusal with the entry's index and name), the total size\n"
    "and a complete data area.\n";
constexpr char kExtractHelp[] =
    "Installs the package into FOLDER (made if missing) with the installer's own\n"
    "extraction, install.log included. A link found inside FOLDER is never\n"
    "followed: the entry it stands in for fails. On failure the installer's\n"
    "message is followed by the entry at fault and the system's error text.\n";

std::string Footer(const char* text, bool warnings) {
    return std::string(text) + (warnings ? kWarnings : "") + kExitCodes;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        CLI::App app{"Builds, lists, verifies and extracts installer packages (data.dat).",
                     "qzpack"};
        app.footer(kExitCodes);
        app.require_subcommand(1);
        std::string folder, output, package;
        bool strict = false;

        CLI::App* create = app.add_subcommand("create", "pack a folder into a package");
        create->footer(Footer(kCreateHelp, true));
        create->add_flag("--strict", strict, "refuse when there is a warning");
        create->add_option("FOLDER", folder, "the folder to pack")->required();
        create->add_option("-o,--output", output, "the package to write (data.dat)")->required();

        CLI::App* list = app.add_subcommand("list", "show the entries of a package");
        list->footer(Footer(kListHelp, false));
        list->add_option("PACKAGE", package, "the package to read")->required();

        CLI::App* verify = app.add_subcommand("verify", "check a package as the installer would");
        verify->footer(Footer(kVerifyHelp, true));
        verify->add_flag("--strict", strict, "refuse when there is a warning");
        verify->add_option("PACKAGE", package, "the package to check")->required();

        CLI::App* extract = app.add_subcommand("extract", "install a package into a folder");
        extract->footer(Footer(kExtractHelp, false));
        extract->add_option("PACKAGE", package, "the package to install")->required();
        extract->add_option("FOLDER", folder, "where to install it")->required();

        std::vector<std::string> args = qz::pack::CommandLineUtf8(argc, argv);
        std::reverse(args.begin(), args.end());  // CLI11 takes them last first
        try {
            app.parse(args);
        } catch (const CLI::Success& e) {
            return app.exit(e);
        } catch (const CLI::ParseError& e) {
            app.exit(e);
            return qz::pack::kExitUsage;
        }

        qz::pack::Console console{std::cout, std::cerr, qz::pack::StderrIsTerminal(), strict};
        const auto path = [](const std::string& s) { return std::filesystem::u8path(s); };
        if (*create) {
            return qz::pack::RunCreate(path(folder), path(output), console);
        }
        if (*list) {
            return qz::pack::RunList(path(package), console);
        }
        if (*verify) {
            return qz::pack::RunVerify(path(package), console);
        }
        return qz::pack::RunExtract(path(package), path(folder), console);
    } catch (const std::exception& e) {
        std::cerr << "qzpack: " << e.what() << '\n';
        return qz::pack::kExitRefused;
    }
}
