// The one failure type of the program: an error number and the description a player would see.
#pragma once

#include <stdexcept>
#include <string>

namespace quorrel {

// Raised by the platform layer and the core alike; each procedure that traps its failures catches it
// at its own boundary and reports it through the message-box interface.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, const std::string& description)
        : std::runtime_error(description), Number(number), Description(description) {}

    int Number;
    std::string Description;
};

// Error numbers the program raises itself, with the descriptions that go with them.
namespace errors {
inline constexpr int Overflow = 6;
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int FileNotFound = 53;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathNotFound = 76;
inline constexpr int PathFileAccessError = 75;
inline constexpr int DiskFull = 61;
inline constexpr int DeviceIOError = 57;
inline constexpr int BadFileFormat = 321;
inline constexpr int CancelError = 32755;
inline constexpr int SpeechUnavailable = 429;

inline RunTimeError OverflowError() { return {Overflow, "Overflow"}; }
inline RunTimeError InvalidCall() { return {InvalidProcedureCall, "Invalid procedure call or argument"}; }
inline RunTimeError Cancelled() { return {CancelError, "Cancel was selected."}; }
}  // namespace errors

}  // namespace quorrel
