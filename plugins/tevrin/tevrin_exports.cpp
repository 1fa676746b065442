// The export table of the TIFF plug-in: names and ordinals as every
// converter plug-in has them.
#include "tevrin/tevrin.h"
#include "tevrin/tevrin_dialogs.h"
#include "win/module.h"

ZEMRA_EXPORTS({tevrin::kOrdWep, "WEP", tevrin::WEP},
              {tevrin::kOrdTifToDib, "ConvertTIFtoDIB", tevrin::ConvertTIFtoDIB},
              {tevrin::kOrdDibToTif, "ConvertDIBtoTIF", tevrin::ConvertDIBtoTIF},
              {tevrin::kOrdDibToTifEx, "ConvertDIBtoTIFEx", tevrin::ConvertDIBtoTIFEx},
              {tevrin::kOrdIsTifFile, "ConvertIsTIFFile", tevrin::ConvertIsTIFFile},
              {tevrin::kOrdGetVersion, "ConvertTIFGetVersion", tevrin::ConvertTIFGetVersion},
              {tevrin::kOrdDlgTif, "DlgTIF", tevrin::DlgTIF},
              {tevrin::kOrdDlgConversion, "DlgConversion", tevrin::DlgConversion},
              {tevrin::kOrdTifMemToDib, "ConvertTIFMemtoDIB", tevrin::ConvertTIFMemtoDIB})
