#pragma once

// Which job a transfer dialog runs.
enum TransferMode : int {
    ModeUpload = 777,
    ModeDownload = 778,
    ModeDelete = 779,
    ModeMove = 781,
};
