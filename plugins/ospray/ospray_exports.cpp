// Ospray's export table: the ordinals the client binds.
#include "ospray.h"
#include "win/module.h"

ZEMRA_EXPORTS({ospray::kOrdWep, "WEP", ospray::WEP},
              {ospray::kOrdEpsToDib, "ConvertEPStoDIB", ospray::ConvertEPStoDIB},
              {ospray::kOrdDibToEps, "ConvertDIBtoEPS", ospray::ConvertDIBtoEPS},
              {ospray::kOrdDibToEpsEx, "ConvertDIBtoEPSEx", ospray::ConvertDIBtoEPSEx},
              {ospray::kOrdIsEpsFile, "ConvertIsEPSFile", ospray::ConvertIsEPSFile},
              {ospray::kOrdGetVersion, "ConvertEPSGetVersion", ospray::ConvertEPSGetVersion},
              {ospray::kOrdEpsMemToDib, "ConvertEPSMemtoDIB", ospray::ConvertEPSMemtoDIB})
