// The export table of the TIFF plug-in: names and ordinals as every
// converter plug-in has them.
#include "tevrin/tevrin.h"
#include "tevrin/tevrin_dialogs.h"
#include "win/module.h"

ZEMRA_EXPORTS({plugins::kOrdWep, "WEP", tevrin::WEP},
              {plugins::kOrdToDib, "ConvertTIFtoDIB", tevrin::ConvertTIFtoDIB},
              {plugins::kOrdFromDib, "ConvertDIBtoTIF", tevrin::ConvertDIBtoTIF},
              {plugins::kOrdFromDibEx, "ConvertDIBtoTIFEx", tevrin::ConvertDIBtoTIFEx},
              {plugins::kOrdIsFile, "ConvertIsTIFFile", tevrin::ConvertIsTIFFile},
              {plugins::kOrdGetVersion, "ConvertTIFGetVersion", tevrin::ConvertTIFGetVersion},
              {plugins::kOrdDlgOptions, "DlgTIF", tevrin::DlgTIF},
              {plugins::kOrdDlgConversion, "DlgConversion", tevrin::DlgConversion},
              {plugins::kOrdMemToDib, "ConvertTIFMemtoDIB", tevrin::ConvertTIFMemtoDIB})
