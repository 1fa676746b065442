// Plays a SyncScript on a script page: the whole file is read into memory,
// the player reads one entry ahead and runs each entry when the page's
// timer finds that the script clock has reached the entry's time. Entries
// make page objects (pictures, sounds, videos, labels, text areas), change,
// move, show and hide them, change the page's background and toolbar, hide
// and show the mouse cursor and queue navigation through the shell. The
// objects a script makes belong to the player and go with it. Errors, those
// of reading and those of running, go to a log of the script's own,
// "syncpage.log" in the temporary directory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/logbook.h"
#include "mfc/cstring.h"
#include "pages/script/sync_script_reader.h"

class VImage;
class VLabel;
class VMCI;
class VObject;
class VSyncpage;
class VText;

class SyncScript {
 public:
  // Ids of each object kind run from 0 to kMaxObjects - 1; the member
  // references of the page hold at most kMaxUrls entries.
  static constexpr int kMaxObjects = 255;
  static constexpr std::uint32_t kMaxUrls = 255;
  // The page window's timer that drives the script.
  static constexpr UINT_PTR kTimerId = 1;
  // How long "PLAY" waits for a medium to start.
  static constexpr DWORD kPlayWaitMs = 500;
  static constexpr const char* kLogName = "syncpage.log";

  struct UrlEntry {
    ScriptObject kind;
    CString name;  // "#n"
    CString url;
  };

  // Reads the file whole; a file that cannot be read gives a player that
  // does nothing. The page is not owned.
  SyncScript(const char* fileName, VSyncpage* page);
  virtual ~SyncScript();
  SyncScript(const SyncScript&) = delete;
  SyncScript& operator=(const SyncScript&) = delete;

  // Registers a member reference ("#n" of a kind) before the start. With
  // kMaxUrls entries present it is refused and "too many urls" is logged.
  void AddUrl(ScriptObject kind, const char* name, const char* url);
  // The URL for a member reference; a text that does not start with "#" is
  // answered unchanged. An unknown reference is logged and answers "".
  CString ResolveUrl(ScriptObject kind, const CString& name);
  // "Error in SyncScript <file> Line <n>: ".
  CString ErrorPrefix() const;

  // Runs the entries timed 0 and arms the page's timer.
  void Start();
  // Runs the entries that are due now (the page's timer calls it when
  // NextTime() <= Elapsed()).
  void Tick();
  // The page's name for Tick.
  void Step() { Tick(); }
  std::uint32_t NextTime() const { return entry_.time; }
  // Milliseconds on the script clock (wraps as GetTickCount does).
  std::uint32_t Elapsed() const;

  void ReadEntry();
  void Execute();

  // --- State, for the page and for tests ---
  bool Readable() const { return reader_ != nullptr; }
  bool Ended() const { return ended_; }
  int TimerInterval() const { return entry_.timerInterval; }
  const ScriptEntry& CurrentEntry() const { return entry_; }
  const std::vector<UrlEntry>& Urls() const { return urls_; }
  // The object a script made for a kind and id; null when none.
  VObject* ObjectAt(ScriptObject kind, int id) const;
  // The log's file name ("" before it is made).
  CString LogFileName() const { return log_ ? log_->FileName() : CString(); }

 private:
  using Slots = std::array<VObject*, kMaxObjects>;

  void Log(const CString& message);
  Logbook& ScriptLog();
  void ArmTimer(int interval);
  void KillTimer();
  void EndScript();
  // Whether the entry's keyword takes a text that may name a member.
  bool TakesText() const;

  Slots* SlotsOf(ScriptObject kind);
  // The steps of Execute; each returns the message of a failure, or null.
  const char* ExecuteOnTarget(VObject* target);
  const char* Load(VObject*& slot);
  const char* RunPictureCommand(VObject* target);
  const char* RunMediaCommand(VObject* target);
  const char* RunLabelCommand(VObject* target);
  void RunPageCommand();
  // The objects of the media kinds (made by the media part of the player).
  VObject* MakeMedia(const RECT& rect, const char* file, bool video);
  const char* FitVideo(VObject* media);
  void ChangeMedia(VObject* media, const char* file);
  // Starts the medium and waits (at most kPlayWaitMs) until it plays; the
  // wait does not count on the script clock.
  void PlayMedia(VObject* media);
  void PauseMedia(VObject* media);
  void StopMedia(VObject* media);
  // Gives a new object the page style's part for its kind.
  void StyleNewObject(VObject* object, const char* part);
  // Styles a new object by its part, puts it on the page and initialises
  // it, hidden: a script shows what it made with "SHOW".
  void PlaceHidden(VObject* object, const char* part);

  CString fileName_;
  VSyncpage* page_;
  std::unique_ptr<SyncScriptReader> reader_;
  ScriptEntry entry_;
  std::array<Slots, 5> objects_{};
  std::vector<UrlEntry> urls_;
  std::uint32_t startTick_ = 0;
  std::unique_ptr<Logbook> log_;
  bool ended_ = false;
};
