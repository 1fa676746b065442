#include "text/support/profile_app.h"

#include <cstdlib>
#include <cstring>

#include "text/draw/draw_styles.h"

ProfileApp::ProfileApp(const std::string& iniText) : app_("ZemraTextTest") {
  ini_ = dir_.write("Tolm.ini", iniText);
  app_.m_pszProfileName = strdup(ini_.c_str());
  DrawStyles::Unload();
}

ProfileApp::~ProfileApp() { DrawStyles::Unload(); }
