// The texts of Murvik's message boxes (Windows-1252, as the system shows
// them), and the caption they all carry.
#pragma once

namespace murvik {

inline constexpr const char* kCaption = "Murvik.DLL";

namespace msg {
inline constexpr const char* kCannotOpen = "PCX-Datei nicht lesbar!";
inline constexpr const char* kReadFailed = "Fehler beim Lesen der PCX-Datei!";
inline constexpr const char* kMemoryHeader = "Error while converting PCX-Format!";
inline constexpr const char* kNotPcx = "Keine PCX- oder SCR-Datei!";
inline constexpr const char* kBadColorFormat = "Falsches Farbformat in der PCX-Datei!";
inline constexpr const char* kNoMemoryBitmap = "Zu wenig Speicher f\xFC" "r Bitmap vorhanden!";
inline constexpr const char* kNoMemoryDib = "Zu wenig Speicher f\xFC" "r DIB vorhanden!";
inline constexpr const char* kBadPaletteMarker = "Kennung der Farbpalette ist fehlerhaft!";
inline constexpr const char* kNoMemoryDecompress =
    "Zu wenig Speicher f\xFC" "r die Dekomprimierung vorhanden!";
inline constexpr const char* kBad24Bit = "Unbekanntes 24-Bit-Format der PCX-Datei";
inline constexpr const char* kDecodeFailed = "Fehler beim Dekodieren der PCX-Datei!";
inline constexpr const char* kNoDib = "Keine DIB vorhanden!";
inline constexpr const char* kCannotCreate = "PCX-Datei konnte nicht erzeugt werden!";
inline constexpr const char* kOs2Bitmap = "Keine Unterst\xFC" "tzung f\xFC" "r OS/2-Bitmap!";
inline constexpr const char* kRleBitmap = "couldnt convert RLE-Bitmap!";
inline constexpr const char* kUnknownDibFormat = "Unbekanntes Farbformat in DIB!";
inline constexpr const char* kNoMemoryPcxBitmap = "Zu wenig Speicher f\xFC" "r PCX-Bitmap vorhanden";
inline constexpr const char* kWriteFailed = "Fehler beim Schreiben der PCX-Bilddaten!";
}  // namespace msg

}  // namespace murvik
