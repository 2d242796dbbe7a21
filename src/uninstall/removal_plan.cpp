#include "uninstall/removal_plan.h"

#include <algorithm>
#include <new>
#include <set>
#include <utility>

#include "common/dbcs.h"
#include "common/texts.h"
#include "engine/entry_rules.h"
#include "integration/install_record.h"
#include "integration/shortcut_paths.h"
#include "integration/uninstall_entry.h"

namespace qz {
namespace {

bool Gone(Removal removal) {
    return removal == Removal::kRemoved || removal == Removal::kMissing;
}

// True when a marked path lies below the folder `folder` (no trailing
// backslash). The folder ends where a separator follows, so the comparison
// of bytes cannot split a character.
bool HoldsMarked(const std::vector<std::string>& marked, const std::string& folder) {
    const std::string below = folder + "\\";
    return std::any_of(marked.begin(), marked.end(), [&below](const std::string& path) {
        return path.compare(0, below.size(), below) == 0;
    });
}

bool IsDriveRoot(const std::string& dir) {
    return dir.size() == 3 && dir[1] == ':' && dir[2] == '\\';
}

// Reads and judges install.log. Missing: kUninstallNothingHere.
int ReadList(UninstallJob& job, InstallList* list) {
    const ItemKind log = job.removal->Inspect(job.install_dir, kLogFileName);
    if (log == ItemKind::kMissing) {
        list->status = ListStatus::kMissing;
        return kUninstallNothingHere;
    }
    std::string bytes;
    std::unique_ptr<ReadStream> stream;
    if (log == ItemKind::kFile && job.removal->Inspect(job.install_dir, "") == ItemKind::kFolder) {
        stream = job.fs->OpenRead(job.install_dir + kLogFileName);
    }
    if (stream == nullptr || !ReadWholeList(*stream, &bytes)) {
        list->status = ListStatus::kUnreadable;
        return kUninstallListRefused;
    }
    stream.reset();
    *list = ParseInstallList(bytes, job.install_dir, job.names, job.longest_path);
    return list->status == ListStatus::kOk ? kUninstallRemoved : kUninstallListRefused;
}

// Every folder level the names hold (never the install directory itself),
// deepest first.
std::vector<std::string> FoldersOf(const std::vector<std::string>& names, LeadByteTest is_lead) {
    std::set<std::string> folders;
    for (const std::string& name : names) {
        for (std::size_t p = FindBackslash(name, 0, is_lead); p != std::string::npos;
             p = FindBackslash(name, p + 1, is_lead)) {
            folders.insert(name.substr(0, p));
        }
    }
    std::vector<std::pair<std::size_t, std::string>> by_depth;
    for (const std::string& folder : folders) {
        std::size_t levels = 0;
        for (std::size_t p = FindBackslash(folder, 0, is_lead); p != std::string::npos;
             p = FindBackslash(folder, p + 1, is_lead)) {
            ++levels;
        }
        by_depth.emplace_back(levels, folder);
    }
    std::sort(by_depth.begin(), by_depth.end(), [](const auto& a, const auto& b) { return a > b; });
    std::vector<std::string> ordered;
    ordered.reserve(by_depth.size());
    for (auto& folder : by_depth) {
        ordered.push_back(std::move(folder.second));
    }
    return ordered;
}

class Removing {
  public:
    explicit Removing(UninstallJob& job) : m_job(job) {}

    void Files(const std::vector<std::string>& names) {
        m_job.ui->SetRange(static_cast<std::int32_t>(names.size()));
        std::int32_t position = 0;
        for (const std::string& name : names) {
            if (SameName(name, kUninstallExe, m_job.names)) {
                m_outcome.remove_uninstaller = true;
                m_remaining.push_back(name);
            } else {
                const std::string path = m_job.install_dir + name;
                m_job.ui->SetStatus(path);
                const Removal removal = RemoveOrMark(m_job.install_dir, name);
                if (!Gone(removal)) {
                    m_remaining.push_back(name);
                }
            }
            m_job.ui->SetPosition(++position);
        }
    }

    // Folders that stay because they hold something are not failures: what
    // the user added there is meant to stay.
    void Folders(const std::vector<std::string>& names) {
        for (const std::string& folder : FoldersOf(names, m_job.names.is_lead)) {
            RemoveFolder(m_job.install_dir, folder);
        }
    }

    void Shortcuts() {
        if (m_job.links == nullptr) {
            return;
        }
        const ShortcutPlan plan =
            PlanShortcuts(m_job.install_dir, m_job.desktop_dir, m_job.programs_dir);
        Link(m_job.desktop_dir, plan.desktop_link, plan);
        Link(m_job.programs_dir, plan.programs_app_link, plan);
        if (m_outcome.left.empty()) {
            Link(m_job.programs_dir, plan.programs_uninstall_link, plan);
        }
        if (!m_job.programs_dir.empty()) {
            RemoveFolder(m_job.programs_dir + "\\", kProductName);
        }
    }

    void Record() {
        if (m_job.registry == nullptr || !m_outcome.left.empty()) {
            return;
        }
        if (RemoveInstallRecord(*m_job.registry, m_job.install_dir) == RecordRemoval::kFailed) {
            m_outcome.left.push_back(
                {std::string("HKEY_LOCAL_MACHINE\\") + kRegistryKeyPath, Removal::kFailed});
        }
        // The entry in the list of installed programs, only when it names
        // this directory.
        if (RemoveUninstallEntry(*m_job.registry, m_job.install_dir, m_job.names.is_lead) ==
            EntryRemoval::kFailed) {
            m_outcome.left.push_back(
                {std::string("HKEY_LOCAL_MACHINE\\") + kUninstallEntryKeyPath, Removal::kFailed});
        }
    }

    // install.log goes when nothing else stayed; otherwise it lists what did.
    void List() {
        if (m_outcome.left.empty()) {
            const Removal removal = m_job.removal->RemoveFile(m_job.install_dir, kLogFileName);
            if (Gone(removal)) {
                return;
            }
            m_outcome.left.push_back({m_job.install_dir + kLogFileName, removal});
        }
        m_outcome.remove_uninstaller = false;
        std::string bytes;
        for (const std::string& name : m_remaining) {
            bytes += ListLine(name);
        }
        std::unique_ptr<WriteStream> log = m_job.fs->CreateWrite(m_job.install_dir + kLogFileName);
        if (log == nullptr || !log->Write(bytes.data(), bytes.size()) || !log->Close()) {
            m_outcome.left.push_back({m_job.install_dir + kLogFileName, Removal::kFailed});
        }
    }

    UninstallOutcome Finish() {
        if (!m_outcome.left.empty()) {
            m_outcome.result = kUninstallPartly;
        } else {
            m_outcome.result =
                m_outcome.marked.empty() ? kUninstallRemoved : kUninstallRestartRequired;
        }
        return std::move(m_outcome);
    }

  private:
    // Removes the file root + name; one in use is marked for the next
    // restart. What neither went nor was marked is left, with its reason.
    // Returns the removal: kInUse for a marked file, which stays until then.
    Removal RemoveOrMark(const std::string& root, const std::string& name) {
        const Removal removal = m_job.removal->RemoveFile(root, name);
        if (Gone(removal)) {
            return removal;
        }
        if (removal == Removal::kInUse && m_job.removal->MarkForRestart(root, name)) {
            m_outcome.marked.push_back(root + name);
            // Still on the disk until then: a later run's list names it.
            return Removal::kInUse;
        }
        m_outcome.left.push_back({root + name, removal});
        return removal;
    }

    // Removes the folder root + name when empty. Folders that stay because
    // they hold something are not failures, since what the user added there
    // is meant to stay; one that holds a marked item is marked after it.
    void RemoveFolder(const std::string& root, const std::string& name) {
        const std::string path = root + name;
        const Removal removal = m_job.removal->RemoveFolder(root, name);
        if (removal == Removal::kNotEmpty && HoldsMarked(m_outcome.marked, path)) {
            if (m_job.removal->MarkForRestart(root, name)) {
                m_outcome.marked.push_back(path);
            } else {
                m_outcome.left.push_back({path, Removal::kInUse});
            }
        } else if (!Gone(removal) && removal != Removal::kNotEmpty) {
            m_outcome.left.push_back({path, removal});
        }
    }

    // Removes one link when it points at this installation.
    void Link(const std::string& folder, const std::string& link, const ShortcutPlan& plan) {
        std::string target;
        if (link.empty() || !m_job.links->ReadTarget(link, &target)) {
            return;
        }
        if (!SameName(target, plan.app_target, m_job.names) &&
            !SameName(target, plan.uninstall_target, m_job.names)) {
            return;
        }
        const std::string root = folder + "\\";
        RemoveOrMark(root, link.substr(root.size()));
    }

    UninstallJob& m_job;
    UninstallOutcome m_outcome;
    std::vector<std::string> m_remaining;
};

}  // namespace

UninstallOutcome RemoveInstallation(UninstallJob& job) noexcept {
    UninstallOutcome outcome;
    bool started = false;
    try {
        outcome.result = ReadList(job, &outcome.list);
        if (outcome.result != kUninstallRemoved) {
            return outcome;
        }
        while (job.ui->ProductIsRunning()) {
            if (!job.ui->AskRunningCopy()) {
                outcome.result = kUninstallRunningCopy;
                return outcome;
            }
        }
        started = true;
        Removing removing(job);
        removing.Files(outcome.list.names);
        removing.Folders(outcome.list.names);
        removing.Shortcuts();
        removing.Record();
        removing.List();
        InstallList list = std::move(outcome.list);
        outcome = removing.Finish();
        outcome.list.status = list.status;
        return outcome;
    } catch (const std::bad_alloc&) {
        // Before the first removal the list counts as unreadable; after it,
        // some of it may stay, and that is never a success.
        if (!started) {
            outcome.list.status = ListStatus::kUnreadable;
        }
        outcome.result = started ? kUninstallPartly : kUninstallListRefused;
        outcome.remove_uninstaller = false;
        return outcome;
    }
}

bool RemoveUninstaller(FileRemoval& removal, const std::string& install_dir,
                       std::vector<std::string>* marked) {
    const Removal uninstaller = removal.RemoveFile(install_dir, kUninstallExe);
    if (!Gone(uninstaller)) {
        if (uninstaller != Removal::kInUse || !removal.MarkForRestart(install_dir, kUninstallExe)) {
            return false;
        }
        marked->push_back(install_dir + kUninstallExe);
    }
    if (IsDriveRoot(install_dir)) {
        return true;
    }
    const std::string folder = install_dir.substr(0, install_dir.size() - 1);
    if (removal.RemoveFolder(install_dir, "") == Removal::kNotEmpty &&
        HoldsMarked(*marked, folder) && removal.MarkForRestart(install_dir, "")) {
        marked->push_back(folder);
    }
    return true;
}

}  // namespace qz
