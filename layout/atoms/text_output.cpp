#include "layout/atoms/text_output.h"

TextOutput::~TextOutput() = default;
