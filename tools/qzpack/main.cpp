// qzpack: builds, lists, verifies and extracts the installer's package files.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "host_text.h"
#include "terminal_progress.h"

namespace {

constexpr char kCreateHelp[] =
    "Packs every file below FOLDER into a package. Files are taken in the byte\n"
    "order of their names in GBK, so the same tree always gives the same bytes.\n"
    "Empty directories are not carried: a package holds files only.\n"
    "Refused, naming the file: a name GBK cannot represent, longer than 259 bytes\n"
    "in GBK, or one Windows or the installer refuses (CON and other device names,\n"
    "a level ending in a dot or a space, \\ < > \" | ? * : and control\n"
    "characters); names that differ only in letter case; links to directories,\n"
    "special files; files adding up to more than 2,147,483,647 bytes.\n"
    "The package is written under a temporary name and renamed when complete.\n"
    "Exit status: 0 packed, 1 refused, 2 usage or I/O error.";
constexpr char kListHelp[] =
    "Prints each entry's index, size and name, then the total.\n"
    "Exit status: 0 listed, 1 header or directory refused, 2 usage or I/O error.";
constexpr char kVerifyHelp[] =
    "Checks the package as the installer would: the header, a complete directory,\n"
    "the names, the total size and a complete data area.\n"
    "Exit status: 0 valid, 1 invalid (the message names the entry), 2 usage or\n"
    "I/O error.";
constexpr char kExtractHelp[] =
    "Installs the package into FOLDER (made if missing) with the installer's own\n"
    "extraction, install.log included.\n"
    "Exit status, the extraction's result: 0 success, 1 package not opened,\n"
    "2 package refused (also a bad command line), 3 a file not created or\n"
    "written, 4 package cut short or unreadable.";

}  // namespace

int main(int argc, char** argv) {
    try {
        CLI::App app{"Builds, lists, verifies and extracts installer packages (data.dat).",
                     "qzpack"};
        app.require_subcommand(1);
        std::string folder, output, package;

        CLI::App* create = app.add_subcommand("create", "pack a folder into a package");
        create->footer(kCreateHelp);
        create->add_option("FOLDER", folder, "the folder to pack")->required();
        create->add_option("-o,--output", output, "the package to write (data.dat)")->required();

        CLI::App* list = app.add_subcommand("list", "show the entries of a package");
        list->footer(kListHelp);
        list->add_option("PACKAGE", package, "the package to read")->required();

        CLI::App* verify = app.add_subcommand("verify", "check a package as the installer would");
        verify->footer(kVerifyHelp);
        verify->add_option("PACKAGE", package, "the package to check")->required();

        CLI::App* extract = app.add_subcommand("extract", "install a package into a folder");
        extract->footer(kExtractHelp);
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

        qz::pack::Console console{std::cout, std::cerr, qz::pack::StderrIsTerminal()};
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
        return qz::pack::kExitUsage;
    }
}
