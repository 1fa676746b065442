// The export table of the GIF plug-in: names and ordinals as every
// converter plug-in has them, without the dialog ordinals 14 and 16.
#include "wendle/wendle.h"
#include "win/module.h"

ZEMRA_EXPORTS({wendle::kOrdWep, "WEP", wendle::WEP},
              {wendle::kOrdGifToDib, "ConvertGIFtoDIB", wendle::ConvertGIFtoDIB},
              {wendle::kOrdDibToGif, "ConvertDIBtoGIF", wendle::ConvertDIBtoGIF},
              {wendle::kOrdDibToGifEx, "ConvertDIBtoGIFEx", wendle::ConvertDIBtoGIFEx},
              {wendle::kOrdIsGifFile, "ConvertIsGIFFile", wendle::ConvertIsGIFFile},
              {wendle::kOrdGetVersion, "ConvertGIFGetVersion", wendle::ConvertGIFGetVersion},
              {wendle::kOrdGifMemToDib, "ConvertGIFMemtoDIB", wendle::ConvertGIFMemtoDIB})
