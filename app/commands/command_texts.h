// The texts the commands show or log, in every language they exist in.
#pragma once

#include "core/multilang_string.h"

const MultiLangString& NoParentText();
const MultiLangString& NoMatchText();
// Formats with the search expression.
const MultiLangString& SearchResultTitle();
// Formats with the title of the object whose parents are listed.
const MultiLangString& ParentsTitle();
const MultiLangString& HistoryTitle();

// "Title=??:" + text + "\n": a title for any language.
CString AnyLanguageTitle(const CString& text);
// The preferred-language text formatted with one string argument; a "%s"
// is the only directive the texts hold.
CString FormatText(const MultiLangString& text, const CString& argument);

// Caption of the message boxes of the commands.
inline constexpr const char* kErrorCaption = "Error";
