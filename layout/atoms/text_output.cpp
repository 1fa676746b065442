#include "layout/atoms/text_output.h"

TextOutput::~TextOutput() = default;
PointTarget::~PointTarget() = default;
