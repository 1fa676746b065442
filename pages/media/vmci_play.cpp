// Playing: play, pause, stop and seek; the arbitration of who may sound;
// the idle handling that sees a medium end (told by its notice, or asking
// now and then), loops it and repeats the background music.
#include <cstdlib>

#include "pages/media/media_globals.h"
#include "pages/media/media_notices.h"
#include "pages/media/vmci.h"
#include "pages/objects/background_sound.h"
#include "pages/objects/vgroup.h"
#include "pages/page/vpage.h"

namespace {

CString Upper(const CString& text) {
  CString u = text;
  u.MakeUpper();
  return u;
}

// Whether two devices compete for the sound output: two MIDI synthesizers
// or a synthesizer beside anything else play together; any other pair
// competes.
bool Conflict(const CString& a, const CString& b) {
  if (Upper(a) == Upper(b)) return true;
  return !(Upper(a) == kMidiDriver || Upper(b) == kMidiDriver);
}

}  // namespace

void VMCI::SetTimeFormat() {
  SendAlias(IsVideo() ? "set %s time format frames wait" : "set %s time format milliseconds wait");
}

void VMCI::Play() {
  if (IsAudioMuted() && !IsVideo()) return;
  if (!IsOpen()) Load();
  if (!IsOpen()) return;
  if ((!IsVideo() || AudioSwitchable()) && Parent()) {
    if (!Arbitrate()) {
      if (!IsVideo()) return;
      // A video that lost plays on without its sound.
      SendAlias("set %s audio all off wait");
    }
  }
  SetTimeFormat();
  if (IsVideo() && AudioSwitchable() && IsAudioMuted()) SendAlias("set %s audio all off wait");
  switch (state_) {
    case kPaused:
      Seek(pausePos_);
      SendAlias("play %s notify");
      break;
    case kPlaySent:
    case kPlaying:
      return;
    default:
      if (toPos_ == kToEnd)
        SendAlias("play %s from %ld notify", fromPos_);
      else
        SendAlias("play %s from %ld to %ld notify", fromPos_, toPos_);
      break;
  }
  state_ = kPlaySent;
  // A play that ends at once tells so; one that does not is asked after
  // the poll time.
  lastPoll_ = PageTicks();
}

// Asks every object of the page whether this one may sound; false when a
// playing object of higher priority keeps the output.
bool VMCI::Arbitrate() {
  VObject* root = this;
  while (root->Parent()) root = root->Parent();
  PageEvent event(kPriorityEvent);
  event.x = soundPriority_;
  event.y = static_cast<std::int32_t>(aliasId_);
  event.text = deviceType_;
  root->HandleEvent(event);
  return event.x == soundPriority_;
}

void VMCI::OnPriorityEvent(PageEvent& event) {
  if (state_ != kPlaySent && state_ != kPlaying) return;
  if (static_cast<DWORD>(event.y) == aliasId_) return;
  if (!Conflict(deviceType_, event.text)) return;
  if (soundPriority_ > event.x)
    event.x = soundPriority_;  // the requester loses
  else
    SetAudio(true);
}

void VMCI::PlayWait(LONG position) {
  if (!IsVideo()) return;
  if (!IsOpen()) Load();
  if (!IsOpen()) return;
  SendAlias("play %s from %ld to %ld wait", position, position);
  Seek(position);
}

void VMCI::Seek(LONG position) {
  if (!IsOpen() || position == kToEnd) return;
  SetTimeFormat();
  SendAlias("seek %s to %ld wait", position);
}

void VMCI::Pause() {
  if (!IsOpen()) Load();
  if (!IsOpen()) return;
  pausePos_ = GetPosition();
  state_ = kPaused;
  if (!IsVideo() || VideoWindow()) SendAlias("stop %s wait");
}

void VMCI::StopMedia() {
  if (!IsOpen()) Load();
  if (!IsOpen()) return;
  state_ = kIdle;
  if (!IsVideo() || VideoWindow()) SendAlias("stop %s wait");
}

LONG VMCI::GetPosition() {
  if (state_ == kPaused) return pausePos_;
  if (!IsOpen()) return 0;
  SendAlias("status %s position wait");
  if (Media().lastError != 0) return 0;
  char* end = nullptr;
  const long value = std::strtol(LastReply(), &end, 10);
  if (end == static_cast<const char*>(LastReply()) || value < 0 || value > kToEnd) return 0;
  return static_cast<LONG>(value);
}

bool VMCI::IsPlaying() {
  if (!IsOpen()) return false;
  SendAlias("status %s mode wait");
  if (Media().lastError != 0) return false;
  const CString mode = Upper(LastReply());
  return mode == "PLAYING" || mode == "WIEDERGABE";
}

void VMCI::SetLoop(int loops) {
  loops_ = loops;
  loopCount_ = 0;
}

void VMCI::SetFrom(LONG position) {
  fromPos_ = position;
  Seek(position);
}

void VMCI::SetTo(LONG position) { toPos_ = position; }

void VMCI::SetSoundPriority(int priority) { soundPriority_ = priority; }

// One play has ended: again while plays remain, else back to the start.
void VMCI::EndOfPlay() {
  ++loopCount_;
  if (loopCount_ < loops_) {
    StopMedia();
    Play();
  } else {
    state_ = kIdle;
    Seek(fromPos_);
    // The others look again at once: one that waits for this sound to end
    // (the background music) may have asked before this object saw it.
    ++Media().notices;
  }
}

void VMCI::OnIdle() {
  if (state_ == kCannotOpen) return;
  // Any notice may be this object's end (notices do not say whose); one
  // question too many costs less than a missed end.
  const std::uint32_t notices = MediaNoticeCount();
  const DWORD now = PageTicks();
  const bool due = notices != seenNotices_ || now - lastPoll_ >= kPollMs;
  if (due) {
    seenNotices_ = notices;
    lastPoll_ = now;
  }
  if (state_ == kPlaySent) {
    if (IsPlaying())
      state_ = kPlaying;
    else if (due)
      EndOfPlay();  // ended before it was ever seen playing
  } else if (due && state_ == kPlaying && !IsPlaying()) {
    EndOfPlay();
  }
  if (due && BackgroundSound() == this && state_ != kPlaySent && state_ != kPlaying) Play();
}

bool VMCI::NeedsPolling() const {
  if (state_ == kPlaySent || state_ == kPlaying) return true;
  return state_ != kCannotOpen && BackgroundSound() == this && !IsAudioMuted();
}

DWORD VMCI::IdleWait() const {
  if (!NeedsPolling()) return kNoIdleWait;
  if (MediaNoticeCount() != seenNotices_) return 0;
  const DWORD since = PageTicks() - lastPoll_;
  return since >= kPollMs ? 0 : kPollMs - since;
}

void VMCI::SetAudio(bool off) {
  if (IsVideo()) {
    if (IsOpen()) SendAlias(off ? "set %s audio all off wait" : "set %s audio all on wait");
    return;
  }
  if (off) {
    if (BackgroundSound() == this)
      Pause();
    else
      StopMedia();
  } else if (Has(kStarted) && !Has(kStopped)) {
    Play();
  }
}

void VMCI::HandleEvent(PageEvent& event) {
  if (event.code == kPriorityEvent) {
    OnPriorityEvent(event);
    return;
  }
  VObject::HandleEvent(event);
}
