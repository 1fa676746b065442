// The export table of the GIF plug-in: names and ordinals as every
// converter plug-in has them, without the dialog ordinals 14 and 16.
#include "wendle/wendle.h"
#include "win/module.h"

ZEMRA_EXPORTS({plugins::kOrdWep, "WEP", wendle::WEP},
              {plugins::kOrdToDib, "ConvertGIFtoDIB", wendle::ConvertGIFtoDIB},
              {plugins::kOrdFromDib, "ConvertDIBtoGIF", wendle::ConvertDIBtoGIF},
              {plugins::kOrdFromDibEx, "ConvertDIBtoGIFEx", wendle::ConvertDIBtoGIFEx},
              {plugins::kOrdIsFile, "ConvertIsGIFFile", wendle::ConvertIsGIFFile},
              {plugins::kOrdGetVersion, "ConvertGIFGetVersion", wendle::ConvertGIFGetVersion},
              {plugins::kOrdMemToDib, "ConvertGIFMemtoDIB", wendle::ConvertGIFMemtoDIB})
