#pragma once
// The backup the program makes around a transfer with the radio: into the backup folder unless
// [setup] backup=0 turns backups off. A backup that cannot be stored is never lost silently: the
// user is told why through the message function and decides whether the transfer goes on.

#include "radio/RadioImage.h"

#include <string>

enum class BackupMoment
{
    AfterRead,  // the memory just read ("read"): the user is told, the memory stays in the program
    BeforeWrite // the memory about to be written ("written"): the user chooses whether to write
};

// Stores `image` as a backup of the moment. False only when it could not be stored and the user
// chose not to write.
bool AutoBackup(const RadioImage& image, BackupMoment moment);
