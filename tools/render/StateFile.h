// State files the tool reads and writes: VST 2.x program and bank files in chunk form, and
// project texts as the plug-in writes them.
#pragma once

#include <cstdint>
#include <string>

namespace render {

// The chunk that a .fxp, a .fxb or a project text file holds, checked against the plug-in's
// unique ID. Throws Failure(InputUnreadable) with the reason.
std::string ReadStateChunk(const std::string& path, int32_t pluginId);

// Saves the chunk as a program file (.fxp) of the plug-in. Throws Failure(OutputUnwritable).
void SaveProgram(const std::string& path, const std::string& chunk, int32_t pluginId, int32_t pluginVersion,
                 const std::string& programName);

}  // namespace render
