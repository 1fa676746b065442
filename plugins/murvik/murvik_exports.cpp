// Murvik's export table: the ordinals the client binds.
#include "murvik.h"
#include "murvik_dialogs.h"
#include "win/module.h"

ZEMRA_EXPORTS({murvik::kOrdWep, "WEP", murvik::WEP},
              {murvik::kOrdPcxToDib, "ConvertPCXtoDIB", murvik::ConvertPCXtoDIB},
              {murvik::kOrdDibToPcx, "ConvertDIBtoPCX", murvik::ConvertDIBtoPCX},
              {murvik::kOrdDibToPcxEx, "ConvertDIBtoPCXEx", murvik::ConvertDIBtoPCXEx},
              {murvik::kOrdIsPcxFile, "ConvertIsPCXFile", murvik::ConvertIsPCXFile},
              {murvik::kOrdGetVersion, "ConvertPCXGetVersion", murvik::ConvertPCXGetVersion},
              {murvik::kOrdDlgPcx, "DlgPCX", murvik::DlgPCX},
              {murvik::kOrdDlgConversion, "DlgConversion", murvik::DlgConversion},
              {murvik::kOrdPcxMemToDib, "ConvertPCXMemtoDIB", murvik::ConvertPCXMemtoDIB})
