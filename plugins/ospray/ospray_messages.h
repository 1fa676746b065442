// The texts of Ospray's message boxes (Windows-1252, as the system shows
// them), and the caption they all carry.
#pragma once

namespace ospray {

inline constexpr const char* kCaption = "Ospray.DLL";

namespace msg {
// Writing.
inline constexpr const char* kNoDib = "Keine DIB vorhanden!";
inline constexpr const char* kOs2Bitmap = "Keine Unterst\xFC" "tzung f\xFC" "r OS/2-Bitmap!";
inline constexpr const char* kRleBitmap = "Fehler in RLE-Bitmap!";
inline constexpr const char* kCannotCreate = "EPS-Datei konnte nicht erzeugt werden!";
inline constexpr const char* kUnknownCompression = "Unbekannte PostScript-Komprimierung!";
inline constexpr const char* kNoMemoryLzw = "Zu wenig Speicher f\xFC" "r LZW-Pr\xE4" "fixtabelle vorhanden!";
inline constexpr const char* kNoMemoryEps = "Zu wenig Speicher f\xFC" "r die EPS-Konvertierung vorhanden!";
inline constexpr const char* kDiskFull = "Platte voll!";
inline constexpr const char* kUnknownPreview = "Unbekanntes Previewbildformat!";
inline constexpr const char* kPreviewCreate = "Fehler beim Erzeugen des Preview-Bildes!";
inline constexpr const char* kPreviewOpen = "Fehler beim \xD6" "ffnen des Preview-Bildes!";
inline constexpr const char* kNoMemoryPreview = "Zu wenig Speicher f\xFC" "r Preview-Bild vorhanden!";
inline constexpr const char* kWriteFailed = "Fehler beim Schreiben der EPS-Datei!";
// Reading.
inline constexpr const char* kReadFailed = "Fehler beim Lesen der EPS-Datei!";
inline constexpr const char* kNotEps = "Keine g\xFC" "ltige EPS-Datei!";
inline constexpr const char* kNoMemoryFile = "Zu wenig Speicher f\xFC" "r EPS-Datei vorhanden!";
inline constexpr const char* kNotOspray = "Keine EPS-Datei von Ospray.DLL!";
inline constexpr const char* kNoLzw = "Keine Unterst\xFC" "tzung von LZW beim Einlesen!";
inline constexpr const char* kDecodeFailed = "Fehler beim Dekodieren der EPS-Datei!";
inline constexpr const char* kInterpretFailed = "Fehler beim Interpretieren der EPS-Datei!";
inline constexpr const char* kNoMemoryDib = "Zu wenig Speicher f\xFC" "r DIB vorhanden!";
}  // namespace msg

}  // namespace ospray
