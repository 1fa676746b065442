// The GIF plug-in's messages (English, as this plug-in speaks) and captions.
#pragma once

namespace wendle {

inline constexpr const char* kCaption = "Wendle.DLL";
// The caption of the one question box (the unknown-version prompt).
inline constexpr const char* kQuestionCaption = "Wendle_DLL";

namespace text {
inline constexpr const char* kOpenError = "Error on opening file";
inline constexpr const char* kNotGif = "No correct GIF file";
inline constexpr const char* kUnknownVersion = "Unknown GIF-Version: %c%c%c\n\rContinue?";
inline constexpr const char* kNoMemoryDib = "Out of memory error";
inline constexpr const char* kIllegalBlock = "Illegal GIF-block";
inline constexpr const char* kEndOfFile = "End of file";
inline constexpr const char* kWrongColors = "Wrong color information in file description";
inline constexpr const char* kNoColorTable = "No color table available";
inline constexpr const char* kNoMemory = "Out of memory!";
inline constexpr const char* kBadLzwCode = "Unknown LZW-code %d!";
inline constexpr const char* kFileReadError = "Error on reading file";
inline constexpr const char* kMemoryReadError = "Error converting image, reading memory";
// Writer.
inline constexpr const char* kNoDib = "No DIB available";
inline constexpr const char* kNoDibDialog = "No DIB abailable";  // as ConvertDIBtoGIF spells it
inline constexpr const char* kWriteError = "Error on writing GIF-file";
inline constexpr const char* kUnknownFormat = "Unknown Format";
}  // namespace text

}  // namespace wendle
