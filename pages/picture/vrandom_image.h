// The page object that presents the image documents of a collection one
// after another, in random order or in their order in the collection, each
// for a number of seconds, optionally forever; a click on it, or the end of
// a show that does not loop, goes to a configured destination. The picture
// is a VImage child.
#pragma once

#include <cstdint>

#include "core/kx_object.h"
#include "core/objref.h"
#include "mfc/cstring.h"
#include "pages/objects/vgroup.h"

class VImage;

class VRandomImage : public VGroup {
 public:
  static constexpr int kDefaultDelay = 5;

  VRandomImage(int left, int top, int right, int bottom, const Ref<KXObject>& collection);
  ~VRandomImage() override;

  const char* GetClassName() const override;
  void Initialize() override;
  void OnMouseDown(int x, int y) override;
  void OnIdle() override;
  // While it runs: the time until its next step, which is taken at idle
  // time.
  DWORD IdleWait() const override;
  void OnTimer(UINT_PTR id) override;
  void OnClose() override;
  void Notify(int code, VObject* sender) override;
  void ReadStyleAttributes() override;
  bool SetBoolAttribute(const char* name, bool value) override;
  bool SetStringAttribute(const char* name, const char* text) override;
  bool SetNumberAttribute(const char* name, int value) override;
  bool SetColorAttribute(const char* name, COLORREF color) override;
  bool SetRectAttribute(const char* name, int left, int top, int right, int bottom) override;
  void Start() override;
  void Stop() override;

  // The next index to show: -1 when the show is over.
  int ChooseNext();
  // Shows the next picture now (only while running).
  void Step();

  bool Running() const { return running_ != 0; }
  int Current() const { return current_; }
  int Count() const { return count_; }
  int Delay() const { return delay_; }
  bool Loop() const { return loop_ != 0; }
  bool Random() const { return random_ != 0; }
  const CString& Destination() const { return destination_; }
  VImage* Image() const { return image_; }
  DWORD NextTime() const { return nextTime_; }

 private:
  void GoToDestination();
  Ref<KXObject> MemberAt(int index);

  Ref<KXObject> collection_;
  VObject* title_ = nullptr;
  VImage* image_ = nullptr;
  std::int32_t running_ = 0;
  std::int32_t delay_ = kDefaultDelay;
  CString destination_;
  std::uint8_t loop_ = 1;
  std::uint8_t random_ = 1;
  DWORD nextTime_ = 0;
  std::int32_t count_ = 0;
  std::int32_t current_ = -1;
  std::int32_t next_ = -1;
};
