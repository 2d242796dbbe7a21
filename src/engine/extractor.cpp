#include "engine/extractor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "common/constants.h"
#include "common/directory_chain.h"
#include "common/texts.h"
#include "engine/entry_rules.h"
#include "engine/install_dir_room.h"
#include "engine/package_reader.h"

namespace qz {
namespace {

// How a run ended: the result and the message to show, if any. The message is
// shown by the caller once every file of the run has been closed.
struct Outcome {
    ExtractResult result;
    const char* message;
};

constexpr Outcome kSucceeded{kExtractOk, nullptr};

Outcome ReadFailure(ReadResult read) {
    return read == ReadResult::kIoError ? Outcome{kExtractTruncated, kMsgFormat}
                                        : Outcome{kExtractBadPackage, kMsgFormat};
}

std::string LogLine(const char* name) {
    const int length = std::snprintf(nullptr, 0, kLogLineFormat, name);
    std::string line(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(&line[0], line.size(), kLogLineFormat, name);
    line.resize(static_cast<std::size_t>(length));
    return line;
}

// Reads the header and the directory into job.entries and checks them. On
// success the reader stands at the data area.
Outcome ReadDirectory(ExtractJob& job, PackageReader& reader, EntryCheck* check) {
    PackageHeader header;
    const ReadResult head = reader.ReadHeader(&header);
    if (head != ReadResult::kOk) {
        return ReadFailure(head);
    }
    job.entries->clear();
    for (std::int32_t i = 0; i < header.nEntryCount; ++i) {
        auto entry = std::make_unique<PackageEntry>();
        const ReadResult record = reader.ReadEntry(entry.get());
        if (record != ReadResult::kOk) {
            return ReadFailure(record);
        }
        job.entries->push_back(std::move(entry));
    }
    // Everything is checked before the first write, so a refused package
    // leaves no trace.
    *check = ValidateDirectory(*job.entries, job.names);
    if (check->status != DirectoryCheck::kOk) {
        return {kExtractBadPackage, kMsgFormat};
    }
    return kSucceeded;
}

// One entry: its directories, its file and its bytes.
Outcome ExtractEntry(ExtractJob& job, PackageReader& reader, const PackageEntry& entry,
                     std::vector<char>& buffer, std::int64_t* position) {
    const std::string path = job.install_dir + entry.szName;
    CreateDirectoryChain(path, *job.fs, job.names.is_lead);
    job.ui->SetStatus(path);
    std::unique_ptr<WriteStream> out = job.fs->CreateWrite(path);
    if (!out) {
        return {kExtractCreateFailed, kMsgCreateFile};
    }
    std::int64_t done = 0;
    while (done < entry.nSize) {
        const std::int64_t got =
            reader.CopyData(*out, buffer.data(), static_cast<std::size_t>(entry.nSize - done));
        if (got == kCopyWriteFailed) {
            return {kExtractCreateFailed, kMsgCreateFile};
        }
        if (got <= 0) {
            return {kExtractTruncated, kMsgFormat};
        }
        done += got;
        *position += got;
        job.ui->SetPosition(static_cast<std::int32_t>(*position));
    }
    if (!out->Close()) {
        return {kExtractCreateFailed, kMsgCreateFile};
    }
    return kSucceeded;
}

Outcome Extract(ExtractJob& job) {
    while (job.ui->ProductIsRunning()) {
        if (!job.ui->AskRunningCopy()) {
            return {kExtractAbandoned, nullptr};
        }
    }
    job.state->store(kStateRunning);

    std::unique_ptr<ReadStream> package = job.open_package ? job.open_package() : nullptr;
    if (!package) {
        return job.package_failure == kExtractCreateFailed
                   ? Outcome{kExtractCreateFailed, kMsgCreateFile}
                   : Outcome{kExtractAbandoned, kMsgFormat};
    }
    PackageReader reader(*package);
    EntryCheck check;
    const Outcome directory = ReadDirectory(job, reader, &check);
    if (directory.result != kExtractOk) {
        return directory;
    }
    job.ui->SetRange(static_cast<std::int32_t>(check.total));
    // A path too long fails as its file would, but before anything is made.
    if (job.install_dir.size() > InstallDirRoom(check, {job.longest_path, job.longest_folder})) {
        return {kExtractCreateFailed, kMsgCreateFile};
    }

    const std::string log_path = job.install_dir + kLogFileName;
    CreateDirectoryChain(job.install_dir, *job.fs, job.names.is_lead);
    std::unique_ptr<WriteStream> log = job.fs->CreateWrite(log_path);
    if (!log) {
        return {kExtractCreateFailed, kMsgCreateFile};
    }
    std::vector<char> buffer(kCopyChunkSize);
    std::int64_t position = 0;
    for (const auto& entry : *job.entries) {
        // The line goes first, so after a failure the log names the entry last.
        const std::string line = LogLine(entry->szName);
        if (!log->Write(line.data(), line.size())) {
            return {kExtractCreateFailed, kMsgCreateFile};
        }
        const Outcome written = ExtractEntry(job, reader, *entry, buffer, &position);
        if (written.result != kExtractOk) {
            return written;
        }
    }
    if (!log->Close()) {
        return {kExtractCreateFailed, kMsgCreateFile};
    }
    job.state->store(kStateSucceeded);
    job.entries->clear();
    return kSucceeded;
}

}  // namespace

ExtractResult ExtractPackage(ExtractJob& job) noexcept {
    Outcome outcome{kExtractCreateFailed, kMsgCreateFile};
    try {
        outcome = Extract(job);
    } catch (...) {
        // Memory ran out (or a user-interface call threw): nothing more can
        // be written.
        outcome = {kExtractCreateFailed, kMsgCreateFile};
    }
    try {
        if (outcome.message != nullptr) {
            job.ui->ShowMessage(outcome.message);
        }
        if (outcome.result == kExtractOk && job.create_shortcuts) {
            job.create_shortcuts();
        }
    } catch (...) {
        // The shortcuts' outcome does not change the result, and a message
        // that cannot be shown changes nothing either.
    }
    return outcome.result;
}

ExtractResult RunInstallWorker(ExtractJob& job) noexcept {
    const ExtractResult result = ExtractPackage(job);
    if (result != kExtractOk) {
        job.state->store(kStateFailed);
    }
    return result;
}

}  // namespace qz
