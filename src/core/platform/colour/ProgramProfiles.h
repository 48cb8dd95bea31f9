#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/colour/ColourProfile.h"

namespace vx {

/// The two profiles carried inside the program, by their resource numbers. They are
/// opened from memory only and never lie in a colour directory.
inline constexpr int kZelMonitorProfileResource = 208;  // RGB working space of Zel pictures
inline constexpr int kPhotoPrintProfileResource = 383;  // RGB photo print process

/// The bytes of a carried profile; empty when the program has no such resource.
std::span<const uint8_t> ProgramProfileBytes(int resourceId);

/// Opens a carried profile; empty when it is missing or does not open.
ColourProfile OpenProgramProfile(int resourceId);

/// The table the profile generator compiles into the program, ended by an entry with
/// id 0.
struct ProgramProfileResource {
    int id;
    const unsigned char* data;
    size_t size;
};
extern const ProgramProfileResource kProgramProfileResources[];

}  // namespace vx
