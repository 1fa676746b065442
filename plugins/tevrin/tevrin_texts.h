// The TIFF plug-in's messages (German, as the plug-in speaks) and caption.
#pragma once

namespace tevrin {

inline constexpr const char* kCaption = "Tevrin.DLL";

namespace text {
inline constexpr const char* kCannotOpen = "TIFF-Datei nicht lesbar!";
inline constexpr const char* kReadError = "Fehler beim Lesen der TIFF-Datei!";
inline constexpr const char* kNoMemoryFile = "Zu wenig Speicher für TIFF-Datei vorhanden!";
inline constexpr const char* kByteOrder = "Falsche Byte-Reihenfolge!\nKeine TIFF-Datei!";
inline constexpr const char* kMagic = "Falsche TIFF-Kennung!";
inline constexpr const char* kNoIfd = "Kein IFD-Eintrag!";
inline constexpr const char* kNoData = "TIFF-Datenbereich ist nicht vorhanden!";
inline constexpr const char* kFax3 = "Gruppe 3 Fax-Format wird nicht unterstützt!";
inline constexpr const char* kFax4 = "Gruppe 4 Fax-Format wird nicht unterstützt!";
inline constexpr const char* kJpeg = "JPEG-Format wird nicht unterstützt!";
inline constexpr const char* kFillOrder = "Dieser Datenaufbau (Fillorder != 1) wird nicht unterstützt!";
inline constexpr const char* kPlanar = "Die Aufteilung in Farbebenen wird nicht unterstützt!";
inline constexpr const char* kExtraSamples = "ExtraSamples werden nicht unterstützt!";
inline constexpr const char* kTiled = "Dieser Bildaufbau (Tiled Image) wird nicht unterstützt!";
inline constexpr const char* kMask = "Transparenzmasken-Farbformat wird nicht unterstützt!";
inline constexpr const char* kCmyk = "CMYK-Farbformat wird nicht unterstützt!";
inline constexpr const char* kYCbCr = "YCbCr-Farbformat wird nicht unterstützt!";
inline constexpr const char* kLab = "CIE L*a*b*-Farbformat wird nicht unterstützt!";
inline constexpr const char* kColorModel = "Falsches Farbformat in der TIFF-Datei!";
inline constexpr const char* kNoMemoryDib = "Zu wenig Speicher für DIB vorhanden!";
inline constexpr const char* kCcitt = "CCITT-Komprimierung wird nicht unterstützt!";
inline constexpr const char* kUnknownCompression = "Unbekanntes Komprimierungsformat!";
inline constexpr const char* kDecodeError = "Fehler beim Dekodieren der TIFF-Datei!";
inline constexpr const char* kBadLzwCode = "Ungültiger LZW-Code %d!";
inline constexpr const char* kNoMemoryDecode = "Zu wenig Speicher für die Dekomprimierung vorhanden!";
inline constexpr const char* kNoMemoryLzw = "Zu wenig Speicher für LZW-Präfixtabelle vorhanden!";
// Writer.
inline constexpr const char* kNoDib = "Keine DIB vorhanden!";
inline constexpr const char* kOs2 = "Keine Unterstützung für OS/2-Bitmap!";
inline constexpr const char* kRleError = "Fehler in RLE-Bitmap!";
inline constexpr const char* kColored1Bit = "1-Bit-DIB enthält Farben!\nEs wird eine 4-Bit-TIFF-Grafik erzeugt!";
inline constexpr const char* kBitmapError = "Fehler in Bitmap!";
inline constexpr const char* kCannotCreate = "TIFF-Datei konnte nicht erzeugt werden!";
inline constexpr const char* kWriteError = "Fehler beim Schreiben der TIFF-Datei";
inline constexpr const char* kHeaderWriteError = "Fehler beim Schreiben der TIFF-Datei!";
inline constexpr const char* kNoMemoryConvert = "Zu wenig Speicher für TIFF-Konvertierung vorhanden!";
}  // namespace text

}  // namespace tevrin
