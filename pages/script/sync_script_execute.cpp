// Running one entry of a script: the objects it makes and changes, the
// page's background and toolbar, the cursor and the navigation it queues.
#include "core/multilang_string.h"
#include "pages/objects/vlabel.h"
#include "pages/page/vsyncpage.h"
#include "pages/picture/vimage.h"
#include "pages/script/sync_script.h"
#include "pages/shell_link.h"
#include "pages/style/style_expressions.h"
#include "pages/text/vtext.h"
#include "win/user.h"

namespace {

constexpr const char* kNoObject = "Object doesn\xb4t exist";
constexpr const char* kObjectExists = "Object already exists";
constexpr const char* kIdOutOfRange = "ObjectId out of range";
constexpr const char* kNoCommand = "Command doesn\xb4t exist for this objecttype";
constexpr const char* kNoRemove = "Command <Remove> doesn\xb4t exist for this objecttype";
constexpr const char* kNoChange = "Command <Change> doesn\xb4t exist for this objecttype";
constexpr const char* kNoMakeTop = "Command <MakeTop> doesn\xb4t exist for this objecttype";
constexpr const char* kNoMakeBottom = "Command <MakeBottom> doesn\xb4t exist for this objecttype";
constexpr const char* kNoLoad = "Command <Load> doesn\xb4t exist for this objecttype";

// Label style codes of "SETSTYLE".
enum LabelStyleCode : int {
  kNoBorder = 0, k3dBorder = 1, kPlainBorder = 2, kAlignCenter = 3, kAlignLeft = 4,
  kAlignRight = 8, kTransparent = 16, kBullet = 32, kArrow = 64, kFitCaption = 128
};

bool HasId(ScriptObject kind) {
  return kind == ScriptObject::Image || kind == ScriptObject::Sound ||
         kind == ScriptObject::Video || kind == ScriptObject::Label || kind == ScriptObject::Text;
}

bool NeedsTarget(ScriptCommand command) {
  switch (command) {
    case ScriptCommand::Remove:
    case ScriptCommand::Show:
    case ScriptCommand::Hide:
    case ScriptCommand::MoveTo:
    case ScriptCommand::Resize:
    case ScriptCommand::SetArea:
    case ScriptCommand::Change:
    case ScriptCommand::MakeTop:
    case ScriptCommand::MakeBottom:
      return true;
    default:
      return false;
  }
}

// The interpreter's word for a navigation keyword; null for others.
const char* NavigationWord(ScriptCommand command) {
  switch (command) {
    case ScriptCommand::Back: return "back";
    case ScriptCommand::Forward: return "forward";
    case ScriptCommand::Previous: return "previous";
    case ScriptCommand::Next: return "next";
    case ScriptCommand::Root: return "root";
    case ScriptCommand::Home: return "home";
    case ScriptCommand::Up: return "up";
    case ScriptCommand::Parents: return "parents";
    case ScriptCommand::History: return "history";
    case ScriptCommand::KorvexRoot: return "korvexroot";
    default: return nullptr;
  }
}

}  // namespace

bool SyncScript::TakesText() const {
  switch (entry_.command) {
    case ScriptCommand::Load:
      return entry_.object != ScriptObject::Label;  // a label's LOAD gives a caption
    case ScriptCommand::Change:
    case ScriptCommand::SetImage:
    case ScriptCommand::SetFontName:
    case ScriptCommand::SetGoto:
    case ScriptCommand::Goto:
    case ScriptCommand::Search:
      return true;
    default:
      return false;
  }
}

void SyncScript::Execute() {
  if (entry_.command == ScriptCommand::Error) {
    ScriptLog().Write(ErrorPrefix() + entry_.errorText.c_str());
    return;
  }
  if (entry_.command == ScriptCommand::End) return;
  // The text of an entry whose keyword takes none is left from an earlier
  // entry: it names nothing here.
  if (TakesText()) entry_.text = ResolveUrl(entry_.object, entry_.text.c_str()).str();

  const ScriptObject kind = entry_.object;
  if (kind == ScriptObject::None) {
    RunPageCommand();
    return;
  }
  VObject** slot = nullptr;
  VObject* target = nullptr;
  if (HasId(kind)) {
    if (entry_.objectId < 0 || entry_.objectId >= kMaxObjects) {
      Log(kIdOutOfRange);
      return;
    }
    slot = &(*SlotsOf(kind))[static_cast<std::size_t>(entry_.objectId)];
    target = *slot;
  } else if (page_) {
    target = kind == ScriptObject::Background ? page_->BackgroundPart() : page_->ToolbarPart();
  }

  const char* failure = nullptr;
  if (NeedsTarget(entry_.command)) {
    if (!target) {
      failure = kNoObject;
    } else if (entry_.command == ScriptCommand::Remove) {
      if (!slot) {
        failure = kNoRemove;
      } else {
        *slot = nullptr;
        delete target;  // takes itself off the page
      }
    } else {
      failure = ExecuteOnTarget(target);
    }
  } else if (entry_.command == ScriptCommand::Load) {
    if (!slot)
      failure = kNoLoad;
    else if (*slot)
      failure = kObjectExists;
    else
      failure = Load(*slot);
  } else {
    switch (kind) {
      case ScriptObject::Image:
      case ScriptObject::Background: failure = RunPictureCommand(target); break;
      case ScriptObject::Sound:
      case ScriptObject::Video: failure = RunMediaCommand(target); break;
      case ScriptObject::Label: failure = RunLabelCommand(target); break;
      default: break;  // text areas and the toolbar take no other command
    }
  }
  if (failure) Log(failure);
}

const char* SyncScript::ExecuteOnTarget(VObject* target) {
  const ScriptObject kind = entry_.object;
  switch (entry_.command) {
    case ScriptCommand::Show:
      target->SetState(target->State() & ~VObject::kHidden);
      return nullptr;
    case ScriptCommand::Hide:
      target->SetState(target->State() | VObject::kHidden);
      return nullptr;
    case ScriptCommand::MoveTo: {
      RECT r;
      target->GetRect(&r);
      const int x = entry_.point.x, y = entry_.point.y;
      target->SetRect(x, y, x + (r.right - r.left), y + (r.bottom - r.top));
      return nullptr;
    }
    case ScriptCommand::Resize: {
      RECT r;
      target->GetRect(&r);
      target->SetRect(r.left, r.top, r.left + entry_.size.cx, r.top + entry_.size.cy);
      return nullptr;
    }
    case ScriptCommand::SetArea:
      target->SetRect(entry_.rect.left, entry_.rect.top, entry_.rect.right, entry_.rect.bottom);
      return nullptr;
    case ScriptCommand::Change:
      switch (kind) {
        case ScriptObject::Image:
        case ScriptObject::Background:
          if (auto* image = dynamic_cast<VImage*>(target)) image->SetFileName(entry_.text.c_str(), 0);
          return nullptr;
        case ScriptObject::Sound:
        case ScriptObject::Video:
          ChangeMedia(target, entry_.text.c_str());
          return nullptr;
        case ScriptObject::Text:
          if (auto* text = dynamic_cast<VText*>(target)) text->SetFileName(entry_.text.c_str());
          return nullptr;
        default:
          return kNoChange;
      }
    case ScriptCommand::MakeTop:
      if (kind == ScriptObject::Video) return kNoMakeTop;
      if (page_) page_->BringToFront(target);
      return nullptr;
    case ScriptCommand::MakeBottom:
      if (kind == ScriptObject::Video) return kNoMakeBottom;
      if (page_) page_->SendToBack(target);
      return nullptr;
    default:
      return nullptr;
  }
}

void SyncScript::StyleNewObject(VObject* object, const char* part) {
  if (!page_) return;
  if (PropertyStruct* style = page_->GetStyle())
    if (PropertyStruct* own = ApplyStyleAssignments(part, style)) object->SetStyle(own);
}

void SyncScript::PlaceHidden(VObject* object, const char* part) {
  StyleNewObject(object, part);
  // Hidden before it joins the page, so that joining paints nothing, and
  // again after initialising, which reads a style that may show it.
  object->SetState(object->State() | VObject::kHidden);
  if (page_) page_->AppendChild(object);
  object->Initialize();
  object->SetState(object->State() | VObject::kHidden);
}

const char* SyncScript::Load(VObject*& slot) {
  const RECT& r = entry_.rect;
  const char* text = entry_.text.c_str();
  const char* failure = nullptr;
  VObject* object = nullptr;
  switch (entry_.object) {
    case ScriptObject::Image: {
      auto* image = new VImage(r.left, r.top, r.right, r.bottom, text);
      object = image;
      PlaceHidden(image, "image()");
      if (r.right - r.left < 2 || r.bottom - r.top < 2)
        image->SetRect(r.left, r.top, r.left + image->PictureWidth(),
                       r.top + image->PictureHeight());
      break;
    }
    case ScriptObject::Sound:
    case ScriptObject::Video: {
      const bool video = entry_.object == ScriptObject::Video;
      object = MakeMedia(r, text, video);
      if (!object) return nullptr;
      PlaceHidden(object, video ? "movie()" : "sound()");
      if (video && (r.right - r.left < 2 || r.bottom - r.top < 2)) failure = FitVideo(object);
      break;
    }
    case ScriptObject::Label: {
      auto* label = new VLabel(r.left, r.top, r.right, r.bottom, 0,
                               MultiLangString::Compose(entry_.caption.c_str()));
      object = label;
      StyleNewObject(label, "label()");
      label->Initialize();
      // Not clickable until a goto target is set.
      label->SetState(label->State() | VObject::kDisabled | VObject::kHidden);
      if (page_) page_->AppendChild(label);
      break;
    }
    case ScriptObject::Text: {
      auto* area = new VText(r.left, r.top, r.right, r.bottom, text);
      object = area;
      PlaceHidden(area, "text()");
      break;
    }
    default:
      return kNoLoad;
  }
  slot = object;
  return failure;
}

const char* SyncScript::RunPictureCommand(VObject* target) {
  if (entry_.command != ScriptCommand::ScrollTo && entry_.command != ScriptCommand::SetMode)
    return kNoCommand;
  auto* image = dynamic_cast<VImage*>(target);
  if (!image) return kNoObject;
  if (entry_.command == ScriptCommand::ScrollTo)
    image->SetScroll(entry_.point.x, entry_.point.y);
  else
    image->SetMode(static_cast<char>(entry_.mode));
  return nullptr;
}

const char* SyncScript::RunMediaCommand(VObject* target) {
  switch (entry_.command) {
    case ScriptCommand::Play:
    case ScriptCommand::Pause:
    case ScriptCommand::Stop:
      break;
    default:
      return kNoCommand;
  }
  if (!target) return kNoObject;
  if (entry_.command == ScriptCommand::Play)
    PlayMedia(target);
  else if (entry_.command == ScriptCommand::Pause)
    PauseMedia(target);
  else
    StopMedia(target);
  return nullptr;
}

const char* SyncScript::RunLabelCommand(VObject* target) {
  auto* label = dynamic_cast<VLabel*>(target);
  if (!label) return kNoObject;
  switch (entry_.command) {
    case ScriptCommand::SetMode: label->SetMode(entry_.mode); return nullptr;
    case ScriptCommand::SetCaption:
      label->SetCaption(MultiLangString::Compose(entry_.caption.c_str()));
      return nullptr;
    case ScriptCommand::SetFgColor: label->SetFgColor(entry_.color); return nullptr;
    case ScriptCommand::SetBgColor: label->SetBgColor(entry_.color, 100); return nullptr;
    case ScriptCommand::SetImage: label->SetBgPicture(entry_.text.c_str()); return nullptr;
    case ScriptCommand::SetFontSize: label->SetFontSize(entry_.fontSize); return nullptr;
    case ScriptCommand::SetFontName: label->SetFontName(entry_.text.c_str()); return nullptr;
    case ScriptCommand::SetGoto: label->SetGoto(entry_.text.c_str()); return nullptr;
    case ScriptCommand::SetStyle:
      switch (entry_.labelStyle) {
        case kNoBorder: label->SetBorder(0); break;
        case k3dBorder: label->SetBorder(VLabel::kBorder3d); break;
        case kPlainBorder: label->SetBorder(VLabel::kBorder); break;
        case kAlignCenter: label->SetAlignment(0); break;
        case kAlignLeft: label->SetAlignment(VLabel::kAlignLeft); break;
        case kAlignRight: label->SetAlignment(VLabel::kAlignRight); break;
        case kTransparent: label->SetTransparent(); break;
        case kBullet: label->SetBullet(true); break;
        case kArrow: label->SetArrow(true); break;
        case kFitCaption: label->FitCaption(); break;
        default: break;
      }
      return nullptr;
    default:
      return kNoCommand;
  }
}

void SyncScript::RunPageCommand() {
  switch (entry_.command) {
    case ScriptCommand::ResetTime:
      startTick_ = PageTicks();
      return;
    case ScriptCommand::TimerInterval:
      ArmTimer(entry_.timerInterval);
      return;
    case ScriptCommand::Search:
      Shell().RunCommandLine(CString("search ") + entry_.text.c_str(), Ref<KXObject>());
      return;
    case ScriptCommand::Goto:
      Shell().PushGotoName(entry_.text.c_str());
      return;
    case ScriptCommand::ShowCursor:
      while (ShowCursor(TRUE) < 0) {
      }
      return;
    case ScriptCommand::HideCursor:
      while (ShowCursor(FALSE) >= 0) {
      }
      return;
    default:
      if (const char* word = NavigationWord(entry_.command))
        Shell().RunCommandLine(word, Ref<KXObject>());
      return;
  }
}
