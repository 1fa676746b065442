// Murvik's export table: the ordinals the client binds.
#include "murvik.h"
#include "murvik_dialogs.h"
#include "win/module.h"

ZEMRA_EXPORTS({plugins::kOrdWep, "WEP", murvik::WEP},
              {plugins::kOrdToDib, "ConvertPCXtoDIB", murvik::ConvertPCXtoDIB},
              {plugins::kOrdFromDib, "ConvertDIBtoPCX", murvik::ConvertDIBtoPCX},
              {plugins::kOrdFromDibEx, "ConvertDIBtoPCXEx", murvik::ConvertDIBtoPCXEx},
              {plugins::kOrdIsFile, "ConvertIsPCXFile", murvik::ConvertIsPCXFile},
              {plugins::kOrdGetVersion, "ConvertPCXGetVersion", murvik::ConvertPCXGetVersion},
              {plugins::kOrdDlgOptions, "DlgPCX", murvik::DlgPCX},
              {plugins::kOrdDlgConversion, "DlgConversion", murvik::DlgConversion},
              {plugins::kOrdMemToDib, "ConvertPCXMemtoDIB", murvik::ConvertPCXMemtoDIB})
