#pragma once
// The four jobs a transfer dialog runs on its worker thread: upload a tree,
// download a tree, delete remote items, move remote items.

#include <memory>
#include <string>

#include "transfer/TransferDialog.h"
#include "transfer/TransferList.h"
#include "transfer/TransferMode.h"

class CServerConnection;

// Bytes moved per block. Large blocks keep the per-block cost (one wait, one
// system call, one progress report) small against the bytes they move.
inline constexpr int DefaultTransferBlockSize = 256 * 1024;

struct TransferJob {
    CServerConnection& connection;
    std::unique_ptr<TransferList> list;
    std::wstring targetDirectory;
    TransferMode mode;
    ITransferDialog& dialog;
    std::uint64_t progressTotal = 0;
    int blockSize = DefaultTransferBlockSize;
};

// Expands the list as the mode needs, asks about top-level name clashes and
// sets the progress range. False when the user refused a replacement.
bool PrepareJob(TransferJob& job);
void RunUpload(TransferJob& job);
void RunDownload(TransferJob& job);
void RunDelete(TransferJob& job);
void RunMove(TransferJob& job);
// Runs the job of the mode.
void RunJob(TransferJob& job);

// Sends one local file; true when every byte of it was sent.
bool UploadFile(TransferJob& job, const std::wstring& remotePath, const std::wstring& localPath,
                std::int64_t expectedSize, std::uint64_t& runningBytes);
// Fetches one remote file; the local file is replaced only once the whole
// file has arrived. True when every byte arrived.
bool DownloadFile(TransferJob& job, const std::wstring& remotePath, const std::wstring& localPath,
                  std::int64_t expectedSize, std::uint64_t& runningBytes);

// The folder part of a path: everything up to its last "/" or "\", with a
// trailing "\" removed (a trailing "/" stays).
std::wstring FolderOfPath(const std::wstring& path);

// The texts of the replace question: "size text (N bytes)\r\ntime text".
std::wstring ReplaceText(std::int64_t size, std::int64_t time, bool spaceBeforeBytes = true);

// The count text of the dialog for a position.
std::wstring CountText(TransferMode mode, std::uint64_t position, std::uint64_t total);
// The dialog's title for a mode ("" for an unknown one).
std::wstring TitleText(TransferMode mode);
