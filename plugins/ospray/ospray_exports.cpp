// Ospray's export table: the ordinals the client binds.
#include "ospray.h"
#include "ospray_dialogs.h"
#include "win/module.h"

ZEMRA_EXPORTS({plugins::kOrdWep, "WEP", ospray::WEP},
              {plugins::kOrdToDib, "ConvertEPStoDIB", ospray::ConvertEPStoDIB},
              {plugins::kOrdFromDib, "ConvertDIBtoEPS", ospray::ConvertDIBtoEPS},
              {plugins::kOrdFromDibEx, "ConvertDIBtoEPSEx", ospray::ConvertDIBtoEPSEx},
              {plugins::kOrdIsFile, "ConvertIsEPSFile", ospray::ConvertIsEPSFile},
              {plugins::kOrdGetVersion, "ConvertEPSGetVersion", ospray::ConvertEPSGetVersion},
              {plugins::kOrdDlgOptions, "DlgEPS", ospray::DlgEPS},
              {plugins::kOrdDlgConversion, "DlgConversion", ospray::DlgConversion},
              {plugins::kOrdMemToDib, "ConvertEPSMemtoDIB", ospray::ConvertEPSMemtoDIB})
