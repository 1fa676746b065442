// The start-up logo: a small modeless dialog (template 105) that shows the
// logo picture with the version line under it, centred on the screen, while
// the client starts. The picture is drawn by an owner-drawn control that
// holds it; a logo that cannot be read leaves an empty dialog laid out for
// a picture of 0 x 0, and nothing is drawn from it.
#pragma once

#include <memory>

#include "mfc/afx.h"

class CDib;

class LogoControl : public CButton {
 public:
  LogoControl();
  ~LogoControl() override;

  // Reads the picture and prepares it for the display, then takes its
  // size at (4, 4) of the dialog.
  void LoadLogo(const CString& fileName);
  // The whole picture at (0, 0), in its own size.
  void DrawItem(LPDRAWITEMSTRUCT dis) override;

  bool HasPicture() const;
  // The picture's size; 0 x 0 without one.
  SIZE PictureSize() const;

  afx_msg BOOL OnEraseBkgnd(CDC* dc);

 private:
  std::unique_ptr<CDib> dib_;

  DECLARE_MESSAGE_MAP()
};

class LogoDialog : public CDialog {
 public:
  static constexpr UINT kTemplateId = 105;
  static constexpr UINT kPictureId = 1008;
  static constexpr UINT kVersionId = 1004;
  // The logo file in the home directory.
  static constexpr char kLogoFile[] = "ORVELLO.GIF";
  // Room around the picture: 5 pixels each side, a 50-pixel band below.
  static constexpr int kMarginX = 10;
  static constexpr int kBandHeight = 50;

  // `versionText`: the program's version ("v0.85"); `logoFile`: the
  // picture (the home directory's ORVELLO.GIF unless given).
  explicit LogoDialog(const char* versionText, const char* logoFile = nullptr);
  ~LogoDialog() override;

  // Makes the modeless dialog; false when it cannot be made.
  using CDialog::Create;
  BOOL Create(CWnd* parent);
  BOOL OnInitDialog() override;

  LogoControl& Control() { return control_; }
  // The logo's file: the home directory's "ORVELLO.GIF".
  static CString LogoPath();

 private:
  LogoControl control_;
  CString version_;
  CString logoFile_;
};

// Registers the dialog template of the logo with the program's resources.
void RegisterLogoResources();
