// Ospray's export table: the ordinals the client binds.
#include "ospray.h"
#include "ospray_dialogs.h"
#include "win/module.h"

ZEMRA_EXPORTS({ospray::kOrdWep, "WEP", ospray::WEP},
              {ospray::kOrdEpsToDib, "ConvertEPStoDIB", ospray::ConvertEPStoDIB},
              {ospray::kOrdDibToEps, "ConvertDIBtoEPS", ospray::ConvertDIBtoEPS},
              {ospray::kOrdDibToEpsEx, "ConvertDIBtoEPSEx", ospray::ConvertDIBtoEPSEx},
              {ospray::kOrdIsEpsFile, "ConvertIsEPSFile", ospray::ConvertIsEPSFile},
              {ospray::kOrdGetVersion, "ConvertEPSGetVersion", ospray::ConvertEPSGetVersion},
              {ospray::kOrdDlgEps, "DlgEPS", ospray::DlgEPS},
              {ospray::kOrdDlgConversion, "DlgConversion", ospray::DlgConversion},
              {ospray::kOrdEpsMemToDib, "ConvertEPSMemtoDIB", ospray::ConvertEPSMemtoDIB})
