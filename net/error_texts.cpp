#include "net/error_texts.h"

#include <cstdio>

namespace {

struct ServerText {
  int code;
  const char* text;
};

constexpr ServerText kServerTexts[] = {
    {0, "no error"},
    {1, "access denied"},
    {2, "no documents received"},
    {3, "no name-field in collection-object"},
    {4, "object is not a document"},
    {5, "no object received"},
    {6, "no collections received"},
    {7, "server not responding"},
    {8, "object not found"},
    {9, "collection already exist"},
    {10, "object not found, perhaps deleted"},
    {11, "object is not a collection"},
    {12, "collection not empty"},
    {13, "destination is not a collection"},
    {14, "source equal destination"},
    {15, "prior request not finished"},
    {16, "connection timed out"},
    {17, "entry in name-field not unique"},
    {18, "database is write-locked"},
    {19, "object locked"},
    {20, "change of basefield"},
    {21, "field not removed"},
    {22, "field exists"},
    {23, "syntax error in command"},
    {24, "no or wrong language specified"},
    {25, "wrong type in object"},
    {26, "wrong version"},
    {27, "no connection"},
    {28, "synchronisation error"},
    {29, "no path entry"},
    {30, "wrong path entry"},
    {31, "wrong password"},
    {34, "remote server not responding"},
    {35, "query overflow"},
    {36, "user break"},
    {37, "sorry not implemented"},
    {38, "wrong value"},
    {39, "insufficient funds"},
    {40, "reorganization in progress, try again later"},
    {41, "user limit reached"},
    {511, "undefined error"},
    {512, "error in fulltext server"},
    {1024, "error in document server"},
};

// Columns 0 (English) and 1 (German); the table's other six language
// columns hold no text in any row.
constexpr const char* kCacheTexts[DocumentCacheError::kLastRow + 1][2] = {
    {"No Error", "Kein Fehler"},
    {"Request pending", "Anfrage ausstaendig"},
    {"No connection to document server", "Keine Verbindung zum Document Server"},
    {"Wrong version", "Falsche Version"},
    {"Not initialized", "Nicht initialisiert"},
    {"Bad request", "Nix verstehen"},
    {"Bad document number", "Falsche Dokumentnummer"},
    {"Cannot write to local store", "Schreiben in den lokalen Speicher nicht moeglich"},
    {"Cannot read from local store", "Lesen vom lokalen Speicher nicht moeglich"},
    {"Store read error", "Fehler beim Lesen vom Speicher"},
    {"Write error", "Fehler beim Schreiben"},
    {"Close error", "Fehler beim Schliessen"},
    {"Bad path", "Ungueltiger Pfad"},
    {"No path", "Kein Pfad"},
    {"Cannot open file", "Datei kann nicht geoeffnet werden"},
    {"Cannot read from file", "Datei kann nicht gelesen werden"},
    {"Cannot write to file", "Datei kann nicht geschrieben werden"},
    {"Could not connect to client", "Client nicht erreichbar"},
    {"Could not accept connection", "Verbindung kann nicht angenommen werden"},
    {"Could not read from socket", "Lesen vom Socket nicht moeglich"},
    {"Could not write to socket", "Schreiben aufs Socket nicht moeglich"},
    {"No header", "Kein Header"},
    {"Received too much data", "Zu viele Daten empfangen"},
    {"Received too few data", "Zu wenig Daten empfangen"},
    {"Document server did not respond", "Doc. Server hat nicht geantwortet"},
    {"Not implemented", "Nicht implementiert"},
    {"User break", "Verbindung abgebrochen"},
    {"Internal error", "Interner Fehler"},
    {"Invalid object", "Ungueltiges Objekt"},
    {"Job timed out", "Job gestorben weil nix getan"},
    {"Cannot open port", "Kann keinen weiteren Port oeffnen"},
    {"Received no data", "Keine Daten empfangen"},
    {"No port to handle this request", "Kein Port fuer diesen Auftrag vorhanden"},
    {"Document not cached", "Dokument nicht gecached"},
    {"Bad cache type", "Kein gueltiger Cachetyp"},
    {"Cannot write to cache", "Schreiben in den Cache nicht moeglich"},
    {"Cannot read from cache", "Lesen vom Cache nicht moeglich"},
    {"Do not know what to read", ""},
    {"Could not insert into cache", "Konnte nicht in den Cache einfuegen"},
    {"Could not connect to remote server",
     "Konnte keine Verbindung zum entfernten Server herstellen"},
    {"Lock refused", "Lock verweigert"},
    {"Could not create local store", "Konnte lokalen Speicher nicht anlegen"},
    {"Could not create cache store", "Konnte Cachespeicher nicht anlegen"},
    {"Could not connect", "Konnte Verbindung nicht herstellen"},
    {"Invalid address", "Ungueltige Adresse"},
    {"Ain't no children", "Kann keine Kinder haben"},
    {"Ain't no data", "Habe keine Daten"},
    {"Lock deleted by someone else", "Lock vom jemand anders geloescht"},
    {"No lock set", "Kein Lock gesetzt"},
    {"Freeze lock set on local store, cannot insert",
     "Freeze lock am Lokalen Speicher gesetzt, kann nicht einfuegen"},
    {"No description available", "Keine Beschreibung vorhanden"},
};

CString unknownCode(int code) {
  char text[48];
  std::snprintf(text, sizeof text, "unknown error! Code: %d", code);
  return CString(text);
}

}  // namespace

CString serverErrorText(int code) {
  for (const ServerText& entry : kServerTexts)
    if (entry.code == code) return CString(entry.text);
  return unknownCode(code);
}

const char* fulltextErrorText(int /*number*/) { return "no descriptions yet"; }

const char* DocumentCacheError::text(int code, int language) {
  int row = Error::number(code);
  if (row > kLastRow) row = kLastRow;
  // Only the first two columns hold texts; every other language, and one
  // outside the table, falls back to English.
  int column = language == 1 ? 1 : 0;
  return kCacheTexts[row][column];
}

CString errorText(int code) {
  if (code >= 0 && code < 512) return serverErrorText(code);
  switch (Error::errorClass(code)) {
    case 2:
      return CString("Fulltext error: ") + fulltextErrorText(Error::number(code));
    case DocumentCacheError::kClass:
      return CString("Document Cache error: ") + DocumentCacheError::text(code, 0);
    default:
      return unknownCode(code);
  }
}
