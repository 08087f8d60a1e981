#include "transfer/TransferJobs.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "connection/ServerConnection.h"
#include "connection/Utilities.h"
#include "platform/MessageService.h"
#include "platform/TextCodec.h"
#include "transfer/LocalDirectory.h"

namespace {

// A descriptor closed when it goes out of scope.
class CFile {
public:
    explicit CFile(int descriptor = -1) : fd(descriptor) {}
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    int Get() const { return fd; }
    bool Close() {
        int result = fd >= 0 ? ::close(fd) : 0;
        fd = -1;
        return result == 0;
    }

private:
    int fd;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void ShowFailure(const wchar_t* what, const std::wstring& localPath) {
    platform::ShowMessage(what + localPath, platform::ProgramCaption(),
                          platform::MbIconError | platform::MbTopMost);
}

void ReportRejectedNames(const TransferList& list) {
    if (list.rejectedNames.empty()) {
        return;
    }
    std::wstring text = L"The server listed names that cannot be used as file names. These "
                        L"entries were left out:\n";
    const std::size_t shown = std::min<std::size_t>(list.rejectedNames.size(), 20);
    for (std::size_t i = 0; i < shown; ++i) {
        text += L"\n" + list.rejectedNames[i];
    }
    if (shown < list.rejectedNames.size()) {
        text += L"\n... and " + std::to_wstring(list.rejectedNames.size() - shown) + L" more";
    }
    platform::ShowMessage(text, platform::ProgramCaption(), platform::MbIconWarning);
}

// The bytes a transfer job will move: the known sizes of its files. Folder
// sizes a server lists are not bytes anybody moves.
std::uint64_t FileBytes(TransferList& list) {
    std::uint64_t total = 0;
    for (TransferItem* item = list.FirstItem(true); item; item = list.NextItem(true)) {
        if (item->size > 0) {
            total += static_cast<std::uint64_t>(item->size);
        }
    }
    return total;
}

void SetRange(TransferJob& job, std::uint64_t total) {
    job.progressTotal = total;
    job.dialog.SetProgressRange(total);
}

// A new, empty file beside the target that the download is written into
// before it replaces the target.
int CreatePartFile(const std::wstring& localPath, std::string& partPath) {
    const std::string target = platform::ToUtf8(localPath);
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        partPath = folder + "/.pellix-" + std::to_string(::getpid()) + "-" +
                   std::to_string(seed() % 1000000) + ".part";
        int fd = ::open(partPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            if (fd >= 0) {
                struct stat existing {};
                // A replaced file keeps its permissions.
                if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
                    ::fchmod(fd, existing.st_mode & 07777);
                }
            }
            return fd;
        }
    }
    return -1;
}

} // namespace

bool PrepareJob(TransferJob& job) {
    TransferList& list = *job.list;
    bool refused = false;
    switch (job.mode) {
    case ModeUpload: {
        std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>> entries;
        if (job.connection.ListDirectory(job.targetDirectory, entries)) {
            for (const auto& status : entries) {
                const ListingEntry entry = MakeListingEntry(*status);
                for (TransferItem* item = list.FirstItem(false); item;
                     item = list.NextItem(false)) {
                    if (!platform::EqualNoCase(item->targetPath, entry.name)) {
                        continue;
                    }
                    const int answer = job.dialog.AskReplace(
                        entry.isDirectory != 0, entry.name,
                        ReplaceText(entry.size, status->modificationTime),
                        ReplaceText(item->size, TimeFromFileTime(item->modified)));
                    if (answer != platform::IdOk) {
                        refused = true;
                        break;
                    }
                }
            }
        }
        if (!refused) {
            list.ExpandLocalDirectories();
        }
        SetRange(job, FileBytes(list));
        break;
    }
    case ModeDownload: {
        std::vector<LocalEntry> entries;
        if (ReadLocalDirectory(job.targetDirectory, entries)) {
            for (const LocalEntry& local : entries) {
                for (TransferItem* item = list.FirstItem(false); item;
                     item = list.NextItem(false)) {
                    if (!platform::EqualNoCase(item->targetPath, local.name)) {
                        continue;
                    }
                    const int answer = job.dialog.AskReplace(
                        item->isDirectory != 0, item->targetPath,
                        ReplaceText(item->size, TimeFromFileTime(item->modified)),
                        ReplaceText(local.size, TimeFromFileTime(local.modified), false));
                    if (answer != platform::IdOk) {
                        refused = true;
                        break;
                    }
                }
            }
        }
        if (!refused) {
            list.ExpandRemoteDirectories();
            ReportRejectedNames(list);
        }
        SetRange(job, FileBytes(list));
        break;
    }
    case ModeDelete:
        list.ExpandRemoteDirectories();
        ReportRejectedNames(list);
        SetRange(job, static_cast<std::uint64_t>(list.itemCount));
        break;
    case ModeMove:
        SetRange(job, static_cast<std::uint64_t>(list.itemCount));
        break;
    }
    return !refused;
}

namespace {

// The common start of every job: the preparation, and the end of a job the
// user refused (IdCancel). A delete or move that finds the dialog already
// cancelled ends without a word, the dialog being on its way out.
bool BeginJob(TransferJob& job, bool quietWhenCancelled) {
    if (quietWhenCancelled && job.dialog.IsCancelRequested()) {
        job.list.reset();
        return false;
    }
    if (!PrepareJob(job)) {
        job.list.reset();
        job.dialog.PostClose(platform::IdCancel);
        return false;
    }
    return true;
}

} // namespace

bool UploadFile(TransferJob& job, const std::wstring& remotePath, const std::wstring& localPath,
                std::int64_t expectedSize, std::uint64_t& runningBytes) {
    if (job.dialog.IsCancelRequested()) {
        return false;
    }
    // The local file first: a file that cannot be read must not cost the
    // server's copy, which STOR would empty.
    CFile local(::open(platform::ToUtf8(localPath).c_str(), O_RDONLY | O_CLOEXEC));
    if (local.Get() < 0) {
        ShowLastErrorBox(localPath);
        return false;
    }
    std::unique_ptr<nsSocket::IBlockingSocket> data = job.connection.OpenTransfer(remotePath, true);
    if (!data) {
        return false;
    }
    job.dialog.PostCurrentPath(localPath);
    nsFTP::CFTPClient& client = job.connection.Client();
    std::vector<char> block(static_cast<std::size_t>(job.blockSize));
    std::int64_t sent = 0;
    for (;;) {
        ssize_t got = ::read(local.Get(), block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        int count = 0;
        if (!client.SendBlock(*data, block.data(), static_cast<int>(got), count)) {
            break;
        }
        runningBytes += static_cast<std::uint64_t>(count);
        sent += count;
        job.dialog.PostPosition(runningBytes);
        if (job.dialog.IsCancelRequested()) {
            break;
        }
    }
    bool result = sent == expectedSize;
    if (!result) {
        ShowFailure(L"Failed to upload file:\n", localPath);
    }
    local.Close();
    client.CloseTransfer(std::move(data));
    return result;
}

bool DownloadFile(TransferJob& job, const std::wstring& remotePath, const std::wstring& localPath,
                  std::int64_t expectedSize, std::uint64_t& runningBytes) {
    if (job.dialog.IsCancelRequested()) {
        return false;
    }
    // Written beside the target and renamed over it only when complete, so a
    // failed or cancelled download leaves the user's old file as it was.
    std::string partPath;
    CFile part(CreatePartFile(localPath, partPath));
    if (part.Get() < 0) {
        ShowLastErrorBox(localPath);
        return false;
    }
    std::unique_ptr<nsSocket::IBlockingSocket> data =
        job.connection.OpenTransfer(remotePath, false);
    if (!data) {
        part.Close();
        ::unlink(partPath.c_str());
        return false;
    }
    job.dialog.PostCurrentPath(remotePath);
    nsFTP::CFTPClient& client = job.connection.Client();
    std::vector<char> block(static_cast<std::size_t>(job.blockSize));
    std::int64_t written = 0;
    bool writeFailed = false;
    bool receiveFailed = false;
    for (;;) {
        int count = 0;
        if (!client.ReceiveBlock(*data, block.data(), job.blockSize, count)) {
            receiveFailed = true;
            break;
        }
        if (count == 0) {
            break;
        }
        if (!WriteAll(part.Get(), block.data(), static_cast<std::size_t>(count))) {
            ShowLastErrorBox(localPath);
            writeFailed = true;
            break;
        }
        runningBytes += static_cast<std::uint64_t>(count);
        written += count;
        job.dialog.PostPosition(runningBytes);
        if (job.dialog.IsCancelRequested()) {
            break;
        }
    }
    const bool cancelled = job.dialog.IsCancelRequested();
    const bool closed = client.CloseTransfer(std::move(data));
    // A listing without sizes cannot be checked against: then the server's
    // final reply decides.
    bool result = !writeFailed && !receiveFailed && !(cancelled && written != expectedSize) &&
                  (expectedSize == UnknownSize ? closed : written == expectedSize);
    // Flushed before it replaces an existing file, so a crash cannot leave an
    // empty file where the old one was; a new file has nothing to lose.
    const bool replacing = ::access(platform::ToUtf8(localPath).c_str(), F_OK) == 0;
    if (result && ((replacing && ::fsync(part.Get()) != 0) || !part.Close())) {
        ShowLastErrorBox(localPath);
        result = false;
    }
    if (result && ::rename(partPath.c_str(), platform::ToUtf8(localPath).c_str()) != 0) {
        ShowLastErrorBox(localPath);
        result = false;
    }
    if (!result) {
        part.Close();
        ::unlink(partPath.c_str());
        ShowFailure(L"Failed to download file:\n", localPath);
    }
    return result;
}

void RunUpload(TransferJob& job) {
    if (!BeginJob(job, false)) {
        return;
    }
    std::uint64_t runningBytes = 0;
    std::wstring lastFolder;
    for (TransferItem* item = job.list->FirstItem(true); item; item = job.list->NextItem(true)) {
        if (job.dialog.IsCancelRequested()) {
            break;
        }
        const std::wstring remotePath = JoinRemotePath(job.targetDirectory, item->targetPath);
        const std::wstring folder = FolderOfPath(remotePath);
        if (folder != lastFolder) {
            job.connection.MakeDirectory(folder, false);
            lastFolder = folder;
        }
        if (!UploadFile(job, remotePath, item->sourcePath, item->size, runningBytes)) {
            break;
        }
    }
    job.list.reset();
    job.dialog.PostClose(platform::IdOk);
}

void RunDownload(TransferJob& job) {
    if (!BeginJob(job, false)) {
        return;
    }
    std::uint64_t runningBytes = 0;
    std::wstring lastFolder;
    std::vector<std::wstring> unsafe;
    for (TransferItem* item = job.list->FirstItem(true); item; item = job.list->NextItem(true)) {
        if (job.dialog.IsCancelRequested()) {
            break;
        }
        // Names come from the server: none may lead out of the target folder.
        if (!IsSafeRelativePath(item->targetPath)) {
            unsafe.push_back(item->sourcePath);
            continue;
        }
        const std::wstring localPath = JoinLocalPath(job.targetDirectory, item->targetPath);
        const std::wstring folder = FolderOfPath(localPath);
        if (folder != lastFolder) {
            ::mkdir(platform::ToUtf8(folder).c_str(), 0777);
            lastFolder = folder;
        }
        if (!DownloadFile(job, item->sourcePath, localPath, item->size, runningBytes)) {
            break;
        }
    }
    if (!unsafe.empty()) {
        TransferList report(nullptr);
        report.rejectedNames = std::move(unsafe);
        ReportRejectedNames(report);
    }
    job.list.reset();
    job.dialog.PostClose(platform::IdOk);
}

void RunDelete(TransferJob& job) {
    if (!BeginJob(job, true)) {
        return;
    }
    struct Doomed {
        bool isDirectory;
        std::wstring path;
    };
    std::vector<Doomed> doomed;
    for (TransferItem* item = job.list->FirstItem(false); item; item = job.list->NextItem(false)) {
        if (job.dialog.IsCancelRequested()) {
            break;
        }
        doomed.push_back({item->isDirectory != 0, item->sourcePath});
    }
    // Longest path first: everything inside a folder goes before the folder.
    std::stable_sort(doomed.begin(), doomed.end(), [](const Doomed& a, const Doomed& b) {
        return a.path.size() > b.path.size();
    });
    for (std::size_t i = 0; i < doomed.size(); ++i) {
        if (job.dialog.IsCancelRequested()) {
            break;
        }
        job.dialog.PostCurrentPath(doomed[i].path);
        if (doomed[i].isDirectory) {
            job.connection.RemoveRemoteDirectory(doomed[i].path);
        } else {
            job.connection.DeleteRemoteFile(doomed[i].path);
        }
        job.dialog.PostPosition(i);
    }
    job.list.reset();
    job.dialog.PostClose(platform::IdOk);
}

void RunMove(TransferJob& job) {
    if (!BeginJob(job, true)) {
        return;
    }
    job.connection.MakeDirectory(job.targetDirectory, false);
    std::size_t index = 0;
    for (TransferItem* item = job.list->FirstItem(false); item;
         item = job.list->NextItem(false), ++index) {
        if (job.dialog.IsCancelRequested()) {
            break;
        }
        job.dialog.PostCurrentPath(item->sourcePath);
        job.connection.RenameRemote(item->sourcePath,
                                    JoinRemotePath(job.targetDirectory, item->targetPath));
        job.dialog.PostPosition(index);
    }
    job.list.reset();
    job.dialog.PostClose(platform::IdOk);
}

void RunJob(TransferJob& job) {
    // The whole job owns the client: the keep-alive and the user interface
    // stay off it until the job ends.
    CServerConnection::CClientLease lease = job.connection.HoldClient();
    switch (job.mode) {
    case ModeUpload:
        RunUpload(job);
        break;
    case ModeDownload:
        RunDownload(job);
        break;
    case ModeDelete:
        RunDelete(job);
        break;
    case ModeMove:
        RunMove(job);
        break;
    }
}
