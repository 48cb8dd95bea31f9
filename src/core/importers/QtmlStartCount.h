#pragma once
#include <cstdint>

namespace vx {

/// The graphics importers' start and stop count. They are the program's own code, so a
/// start loads nothing; the count still decides whether imports are answered, and
/// starts and stops nest (only the last stop ends them). Safe from any thread.

inline constexpr int16_t kQtmlLibraryNotFound = -2093;
inline constexpr int16_t kQtmlEntryPointMissing = -2094;
inline constexpr int16_t kQtmlNotLoaded = -2095;
/// An unknown gestalt selector.
inline constexpr int16_t kQtGestaltUndefined = -5551;
/// The importers' version as the "qtim" selector answers it (6.0).
inline constexpr int32_t kImportersVersion = 0x06000000;

/// Adds one start; 0, or -2093 while the test switch makes starts fail (the count then
/// stays as it was). The flags are accepted and not used.
int16_t QtmlInitialize(int32_t flags);
/// Takes one start back; at 0 the importers stop answering. Below 0 it stays 0.
void QtmlTerminate();
/// The importers' answer to a system attribute query: "qtim" gives the version. -2095
/// while they are not started.
int16_t QtGestalt(uint32_t selector, int32_t& value);
/// Whether at least one start is outstanding.
bool ImportersStarted();

/// For tests: while set, QtmlInitialize fails as if the library were missing.
void SetQtmlStartFailsForTesting(bool fails);

}  // namespace vx
