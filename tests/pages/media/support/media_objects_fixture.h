// The media-object tests' common ground: a media control interface played
// by the test (ScriptedMci: it records every command string and answers as
// a small machine with the devices the test lists), a group with a window
// that stands for the page, and the file cache handing out local files.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "mfc/wnd.h"
#include "pages/media/mci_port.h"
#include "pages/objects/vgroup.h"
#include "pages/support/pages_fixture.h"

namespace pages_test {

struct ScriptedDevice {
  std::string name;
  bool usesFiles = true;
  bool video = false;
  bool audio = true;
};

class ScriptedMci : public MciPort {
 public:
  MCIERROR SendString(const char* command, char* reply, UINT replyLength) override;
  BOOL ErrorString(MCIERROR error, char* text, UINT length) override;

  // The standard three drivers.
  void StandardDevices();
  // The commands sent since the last Take, and forgets them.
  std::vector<std::string> Take();
  // Whether a command starting with `prefix` was sent (since the last Take).
  bool Sent(const std::string& prefix) const;
  int Count(const std::string& prefix) const;
  // The medium of `alias` ends by itself; as a device does, a play sent
  // with "notify" then tells the media notice window.
  void End(const std::string& alias);

  std::vector<ScriptedDevice> devices;
  std::vector<std::string> commands;
  // Exact commands answered with this error and reply instead.
  std::map<std::string, std::pair<MCIERROR, std::string>> answers;
  // Device types that refuse to open anything.
  std::set<std::string> refusing;
  // Per alias: "playing", "stopped" or "paused" (the test may change it to
  // end a medium), and the source size "where ... source" gives.
  std::map<std::string, std::string> mode;
  std::string source = "0 0 160 120";
  std::string position = "0";
  // Aliases whose play waits to tell of its end.
  std::set<std::string> notifying;
};

// A group that stands for a page: it has a window, in which videos make
// their own.
class HostGroup : public VGroup {
 public:
  HostGroup();
  ~HostGroup() override;
  CWnd* GetWindow() override { return &window_; }
  // The left-button releases the host's own window received.
  int ButtonUps() const { return window_.buttonUps; }

 private:
  struct Window : CWnd {
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_LBUTTONUP) ++buttonUps;
      return CWnd::WindowProc(message, wParam, lParam);
    }
    int buttonUps = 0;
  };
  Window window_;
};

// Records the loads the media objects queue and cancel.
class MediaShell : public TestShell {
 public:
  void PushLoad(LoadKind kind, const Ref<KXObject>& document, LoadTarget* target, const char*) override {
    loads.push_back({kind, document, target});
  }
  void CancelLoads(LoadTarget* target) override { cancelled.push_back(target); }
  void ExecuteAnchorAction(const Ref<KXObject>& anchor) override { followed.push_back(anchor); }

  struct Load {
    LoadKind kind;
    Ref<KXObject> document;
    LoadTarget* target;
  };
  std::vector<Load> loads;
  std::vector<LoadTarget*> cancelled;
  std::vector<Ref<KXObject>> followed;
};

class MediaObjectTest : public PagesTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A file of the given bytes in the test's folder.
  std::string File(const std::string& name, const std::string& bytes);
  // A small file of each kind the format table knows.
  std::string Wav(const std::string& name = "a.wav");
  std::string Avi(const std::string& name = "a.avi");
  std::string Mid(const std::string& name = "a.mid");
  // Idle events to the host, n times.
  void Idle(int n);
  // Moves the page clock, which only the test moves.
  void AdvancePageClock(DWORD ms);
  // Delivers the messages waiting (the media notices among them).
  static void PumpMessages();

  ScriptedMci mci_;
  MediaShell media_;
  HostGroup* host_ = nullptr;

 private:
  std::string previousDir_;
};

}  // namespace pages_test
