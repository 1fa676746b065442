// CWinApp's settings: the profile functions over the private-profile file
// m_pszProfileName names, and the standard settings (recent files, preview
// pages).
#include <cstdio>

#include "mfc/app.h"
#include "win/kernel.h"

namespace {

// MFC read profile values through a buffer of this size.
constexpr DWORD kValueBuffer = 4096;
constexpr char kRecentSection[] = "Recent File List";
constexpr char kRecentEntry[] = "File%u";
constexpr char kSettingsSection[] = "Settings";
constexpr char kPreviewPagesEntry[] = "PreviewPages";
constexpr UINT kMaxRecentFiles = 16;

}  // namespace

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) {
  if (!m_pszProfileName) return CString(defaultValue);
  char buf[kValueBuffer] = {};
  GetPrivateProfileString(section, entry, defaultValue ? defaultValue : "", buf, kValueBuffer,
                          m_pszProfileName);
  buf[kValueBuffer - 1] = '\0';
  return CString(buf);
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) {
  if (!m_pszProfileName) return static_cast<UINT>(defaultValue);
  return GetPrivateProfileInt(section, entry, defaultValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value) {
  if (!m_pszProfileName) return FALSE;
  return WritePrivateProfileString(section, entry, value, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return WriteProfileString(section, entry, text);
}

void CWinApp::LoadStdProfileSettings(UINT maxRecentFiles) {
  maxRecentFiles_ = maxRecentFiles < kMaxRecentFiles ? maxRecentFiles : kMaxRecentFiles;
  recentFiles_.clear();
  for (UINT i = 1; i <= maxRecentFiles_; ++i) {
    char entry[16];
    std::snprintf(entry, sizeof entry, kRecentEntry, i);
    CString name = GetProfileString(kRecentSection, entry, "");
    if (!name.IsEmpty()) recentFiles_.push_back(name);
  }
  m_nNumPreviewPages = GetProfileInt(kSettingsSection, kPreviewPagesEntry, 0);
  recentLoaded_ = true;
  recentWritten_ = !recentFiles_.empty();
}

void CWinApp::SaveStdProfileSettings() {
  if (!recentLoaded_) return;
  // A list that was empty and stayed empty leaves the file alone.
  if (recentWritten_ || !recentFiles_.empty()) {
    WriteProfileString(kRecentSection, nullptr, nullptr);
    for (size_t i = 0; i < recentFiles_.size(); ++i) {
      char entry[16];
      std::snprintf(entry, sizeof entry, kRecentEntry, static_cast<UINT>(i + 1));
      WriteProfileString(kRecentSection, entry, recentFiles_[i]);
    }
    recentWritten_ = !recentFiles_.empty();
  }
  if (m_nNumPreviewPages != 0)
    WriteProfileInt(kSettingsSection, kPreviewPagesEntry, static_cast<int>(m_nNumPreviewPages));
}

void CWinApp::AddToRecentFileList(LPCSTR path) {
  if (!path || !*path || maxRecentFiles_ == 0) return;
  const CString name(path);
  for (auto it = recentFiles_.begin(); it != recentFiles_.end(); ++it) {
    if (it->CompareNoCase(name) == 0) {
      recentFiles_.erase(it);
      break;
    }
  }
  recentFiles_.insert(recentFiles_.begin(), name);
  if (recentFiles_.size() > maxRecentFiles_) recentFiles_.resize(maxRecentFiles_);
}

CString CWinApp::RecentFile(int index) const {
  if (index < 0 || index >= RecentFileCount()) return CString();
  return recentFiles_[static_cast<size_t>(index)];
}
