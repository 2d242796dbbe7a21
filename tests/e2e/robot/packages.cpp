#include "robot/packages.h"

#include "robot/files.h"
#include "robot/report.h"
#include "robot/scenario.h"

namespace robot {

std::string PackageFolder() {
    const std::string root = "C:\\qz-e2e\\" + CurrentScenario() + "-package\\";
    RemoveTree(root);
    Require(MakeDirs(root), "the package folder can be made");
    return root;
}

std::string WritePackage(const std::string& bytes) {
    const std::string package = PackageFolder() + "data.dat";
    Require(WriteWholeFile(package, bytes), "the package is written");
    return package;
}

std::string PackNamedFiles(const std::initializer_list<const char*>& names) {
    const std::string root = PackageFolder();
    Require(MakeDirs(root + "payload\\"), "the payload folder can be made");
    for (const char* name : names)
        Require(WriteWholeFile(root + "payload\\" + name, name),
                Format("payload file %s is written", name));
    PackFolder(root + "payload", root + "data.dat");
    return root + "data.dat";
}

SetupOptions WithPackage(const std::string& package) {
    SetupOptions options;
    options.package = package;
    return options;
}

}  // namespace robot
