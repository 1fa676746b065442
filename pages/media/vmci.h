// The page object that plays a sound or a video file through media command
// strings (MciPort). It finds the media devices of the machine once, opens
// a file with the device its format needs (the file stays locked in the file
// cache while it is open), plays, pauses, stops and seeks, puts video into a
// child window placed by a fit mode ('c' centre, 'a' keep the aspect ratio,
// 'z' zoom), lets the media objects of a page arbitrate who may sound by a
// priority (page event kPriorityEvent), and honours one program-wide audio
// switch.
//
// Playing is never waited for: "play" runs in the background and tells the
// media notice window when it ends. The idle handler then asks the device
// at once, and otherwise at most every kPollMs of the page clock (a device
// that never tells, a sound that waits for a louder one to end), to see a
// medium end, play it again while loops remain, and repeat the page's
// background music. Between those times the object needs no idle events,
// and the program sleeps.
//
// Positions are milliseconds for a sound and frames for a video.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "mfc/cstring.h"
#include "pages/objects/vobject.h"
#include "win/mci.h"
#include "win/types.h"

class CWnd;

class VMCI : public VObject {
 public:
  // What the object is doing (MediaState()).
  enum MediaStateCode : std::int32_t {
    kIdle = 0,        // stopped, or never played
    kPlaySent = 1,    // "play" sent, not yet seen playing
    kPlaying = 2,
    kPaused = 3,
    kCannotOpen = 4,  // the file cache could not supply the file
  };
  // Fit modes of a video in the object's rectangle.
  static constexpr int kModeCenter = 'c';
  static constexpr int kModeAspect = 'a';
  static constexpr int kModeZoom = 'z';
  // The end position that means "to the end".
  static constexpr LONG kToEnd = 0x7FFFFFFF;
  // The page event by which media objects arbitrate who may sound: `x`
  // the requester's priority (a louder receiver writes its own), `y` the
  // requester's alias number, `text` its device type.
  static constexpr std::int32_t kPriorityEvent = 16;
  // LastError of an object that is not open and saw no error.
  static constexpr MCIERROR kNotOpenError = 265;
  // Most devices of each kind that discovery keeps.
  static constexpr int kMaxDevices = 10;
  // The identifier of the video child window.
  static constexpr UINT kWindowId = 0x4030;
  // The most time between two questions to a device that is playing (or
  // to be played again), in milliseconds of the page clock. Each is a
  // blocking "status ... mode wait"; a play's end notice asks at once.
  static constexpr DWORD kPollMs = 250;

  // `fileName` may be null or empty (no file yet). A video object makes its
  // window in Initialize, once it stands on a page.
  VMCI(int left, int top, int right, int bottom, const char* fileName, bool video);
  ~VMCI() override;

  // --- VObject ---
  const char* GetClassName() const override;
  // Makes the video window, opens the file and places the video.
  void Initialize() override;
  // A video that is open shows its start frame (stopped) or the frame it
  // was paused at.
  void Draw(CDC* dc, const RECT& clip) override;
  // A click pauses a playing medium and plays any other, unless the click
  // handler takes it.
  void OnMouseUp(int x, int y) override;
  // Asked with the medium's position when an open medium is clicked; true
  // when it took the click (a movie following the link live at that frame),
  // which then leaves playing alone.
  void SetClickHandler(std::function<bool(LONG position)> handler) { clickHandler_ = std::move(handler); }
  // Asked with the medium's position as the mouse moves over an open
  // medium: whether a click there would be taken (the link cursor shows).
  void SetLinkTest(std::function<bool(LONG position)> test) { linkTest_ = std::move(test); }
  void OnMouseMove(int x, int y) override;
  void OnIdle() override;
  // While the medium plays, and while it is the page's background music
  // that may sound: at once when an end notice came, else the time until
  // the device is asked next.
  DWORD IdleWait() const override;
  void OnClose() override;
  void Notify(int code, VObject* sender) override;
  // Takes the rectangle as the area the video is fitted into.
  void SetRect(int left, int top, int right, int bottom) override;
  // The audio switch of the page: a video is muted or unmuted; a sound is
  // stopped (paused when it is the background music) or played again.
  void SetAudio(bool off) override;
  void HandleEvent(PageEvent& event) override;
  void ReadStyleAttributes() override;
  // "autoplay", "visible".
  bool SetBoolAttribute(const char* name, bool value) override;
  // "filename", "mode" ("CENTER", "ZOOM", "ASPECTRATIO").
  bool SetStringAttribute(const char* name, const char* text) override;
  // "loop", "soundpriority".
  bool SetNumberAttribute(const char* name, int value) override;
  bool SetColorAttribute(const char* name, COLORREF color) override;
  // "videopos".
  bool SetRectAttribute(const char* name, int left, int top, int right, int bottom) override;
  // The page starts the object: it plays (autoplay), or shows its start
  // frame.
  void Start() override;
  // The page stops the object: the medium stops and the object hides.
  void Stop() override;

  // --- Media operations ---
  virtual CString GetDeviceType() const;
  // 'c', 'a' or 'z' (any other value counts as 'c'); lays out again when
  // the mode changes.
  virtual void SetVideoMode(int mode);
  // Fits the video into the object's area by the mode and tells the device.
  virtual void Layout();

  // Sends one command string; the result becomes the last error (and the
  // reply the last reply text). With `report` a failure goes to the
  // logbook.
  MCIERROR SendCommand(const char* command, bool report);
  // The last media error; kNotOpenError when there was none and the object
  // is not open.
  MCIERROR LastError() const;
  // Another file: the old one is closed (and its cache entry unlocked), the
  // new one opened and, on a started page, played (or its start frame
  // shown). The same name again does nothing.
  void SetFileName(const char* name);
  const CString& FileName() const { return fileName_; }
  // Plays from the start position (or on from a pause); a muted sound does
  // not play, and a sound that loses the arbitration neither.
  void Play();
  // Shows the frame at `position` and stays there (video only).
  void PlayWait(LONG position);
  void Pause();
  // Stops the medium (the object stays where it is; Stop() is the page's
  // stop, which also hides the object).
  void StopMedia();
  // Moves to `position`; kToEnd is not sent.
  void Seek(LONG position);
  LONG GetPosition();
  // Whether the device says it plays.
  bool IsPlaying();
  // The medium's own size; false (and 0, 0) when the device cannot tell.
  bool GetSourceSize(int* width, int* height);
  // Plays wanted in a row (the count of plays done starts again).
  void SetLoop(int loops);
  // The start position (the device moves there at once).
  void SetFrom(LONG position);
  // The end position; kToEnd plays to the end.
  void SetTo(LONG position);
  void SetSoundPriority(int priority);
  bool GetAutoplay() const { return autoplay_ != 0; }
  // The same as SetAudio.
  void SetAudioOff(bool off) { SetAudio(off); }

  // The program-wide audio switch of the user's "audioon", "audiooff" and
  // "toggleaudio": muted sounds do not play, muted videos play silently.
  static bool ToggleAudioMute();
  static bool IsAudioMuted();

  // --- State, for the page and for tests ---
  std::int32_t MediaState() const { return state_; }
  bool IsVideo() const { return isVideo_ != 0; }
  bool IsOpen() const { return aliasId_ != 0; }
  bool AudioSwitchable() const { return audioSwitchable_ != 0; }
  DWORD AliasId() const { return aliasId_; }
  // The alias text of the open device ("%08lX" of its number).
  CString Alias() const;
  int VideoMode() const { return videoMode_; }
  std::int32_t Loops() const { return loops_; }
  std::int32_t LoopCount() const { return loopCount_; }
  LONG FromPos() const { return fromPos_; }
  LONG ToPos() const { return toPos_; }
  LONG PausePos() const { return pausePos_; }
  std::int32_t SoundPriority() const { return soundPriority_; }
  // The video window (null for a sound, or before Initialize).
  HWND VideoWindow() const;

  // --- Program-wide media state ---
  // The media devices found (at most kMaxDevices of each kind).
  static const std::vector<CString>& VideoDevices();
  static const std::vector<CString>& AudioDevices();
  // The last reply text of any media object.
  static const CString& LastReply();
  // Forgets the devices found, the last error, the alias counter, the
  // notices and the audio switch, and drops the notice window: the state of
  // a program that just started.
  static void ResetSharedState();

 private:
  // Finds the devices while none is known.
  static void DiscoverDevices();
  // The device the file's first bytes call for, or "".
  static CString DeviceForFile(const CString& localFile, bool video);

  void Load();
  void Close();
  bool OpenWith(const CString& localFile, const CString& device);
  void SetTimeFormat();
  void PutDestination();
  bool Arbitrate();
  void OnPriorityEvent(PageEvent& event);
  void EndOfPlay();
  // Whether the idle handler has anything to look for.
  bool NeedsPolling() const;
  void CreateVideoWindow();
  void ShowStartFrame();
  void SendAlias(const char* format);
  void SendAlias(const char* format, long a);
  void SendAlias(const char* format, long a, long b);

  CWnd* window_ = nullptr;
  std::uint8_t isVideo_ = 0;
  std::uint8_t audioSwitchable_ = 0;
  std::uint8_t windowTried_ = 0;
  std::uint8_t autoplay_ = 1;
  CString fileName_;
  CString deviceType_;
  // The file-cache key this object holds locked; released once, by Close.
  CString lockedKey_;
  bool locked_ = false;
  std::int32_t loops_ = 1;
  std::int32_t loopCount_ = 0;
  std::int32_t state_ = kIdle;
  DWORD aliasId_ = 0;
  std::int32_t videoMode_ = kModeCenter;
  LONG fromPos_ = 0;
  LONG toPos_ = kToEnd;
  std::int32_t soundPriority_ = 0;
  LONG pausePos_ = 0;
  // When the device was last asked (page clock), and the notice count then.
  DWORD lastPoll_ = 0;
  std::uint32_t seenNotices_ = 0;
  // The rectangle the video is fitted into (the object's own rectangle is
  // the fitted one).
  RECT area_{0, 0, 0, 0};
  std::function<bool(LONG)> clickHandler_;
  std::function<bool(LONG)> linkTest_;
};
