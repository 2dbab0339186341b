#pragma once

// What a platform call reports instead of a run-time error.
enum class FsStatus {
    Ok,
    NotFound,       // the path does not exist
    NotReady,       // the volume is gone or cannot be read
    InvalidPicture, // the bytes are no picture we can read
    Denied,         // no permission
    Exists,         // the target exists already
    NoSpace,        // the disk is full
    Other,
};
