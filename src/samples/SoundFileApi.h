// The five entry points of libsndfile that sample loading uses, declared from the library's
// public documentation so that the plug-in can bind them at run time instead of linking them.
#pragma once

#include <cstdint>

#include "engine/SampleBuffer.h"

namespace samples::sndfile {

// The library's opaque file handle.
struct SoundFile;

// The library's SF_INFO record; the holder keeps one in the same layout.
using Info = engine::SampleFileInfo;
using Count = int64_t;  // sf_count_t

using OpenFunction = SoundFile* (*)(const char* path, int mode, Info* info);
using StrErrorFunction = const char* (*)(SoundFile* file);
using CloseFunction = int (*)(SoundFile* file);
using CommandFunction = int (*)(SoundFile* file, int command, void* data, int dataSize);
using ReadFloatFunction = Count (*)(SoundFile* file, float* items, Count count);

constexpr int kModeRead = 0x10;               // SFM_READ
constexpr int kCommandSetNormFloat = 0x1013;  // SFC_SET_NORM_FLOAT
constexpr int kTrue = 1;                      // SF_TRUE

}  // namespace samples::sndfile
