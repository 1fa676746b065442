// The library's message texts: German reasons in the Windows-1252 code page
// of the original program, composed as "<operation>: <reason>".
#pragma once

namespace pixolt {

inline constexpr char kCaption[] = "Pixolt.DLL";

inline constexpr char kNoDib[] = "Keine DIB vorhanden!";
inline constexpr char kNoDdb[] = "Keine DDB vorhanden!";
inline constexpr char kNoOs2[] = "Keine Unterst\xfc" "tzung f\xfc" "r OS/2-Bitmaps!";
inline constexpr char kNoRle[] = "Keine Unterst\xfc" "tzung f\xfc" "r RLE-Bitmaps!";
inline constexpr char kIsRle[] = "Es liegt eine RLE-DIB vor!";
inline constexpr char kNoMemory[] = "Zu wenig Speicher f\xfc" "r DIB vorhanden!";
inline constexpr char kOutOfMemory[] = "Out of memory!";
inline constexpr char kAlreadyReduced[] = "Bitmap ist bereits reduziert!";
inline constexpr char kUnknownFormat[] = "Unbekanntes DIB-Format!";
inline constexpr char kNotRle[] = "Es liegt keine RLE-Bitmap vor!";
inline constexpr char kNo1Bit[] = "Es liegt keine 1-Bit-DIB vor!";
inline constexpr char kNo4Bit[] = "Es liegt keine 4-Bit-DIB vor!";
inline constexpr char kNo8Bit[] = "Es liegt keine 8-Bit-DIB vor!";
inline constexpr char kNo24Bit[] = "Es liegt keine 24-Bit-DIB vor!";
inline constexpr char kNoFileName[] = "Keine Dateiname vorhanden!";
inline constexpr char kNoMemoryContext[] = "Kein Speicherausgabekontext verf\xfc" "gbar!";

}  // namespace pixolt
