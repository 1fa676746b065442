// Running the two searches of the search command and dialog on the stores:
// the attribute search (titles, keywords, author, creation time; request
// kind 6) and the full-text search (kind 7, once per preferred language).
//
// An unscoped search asks every open store; a scoped one asks, for each
// group of marked objects, the store of the group's first object with the
// group as its scope. Hits are appended to `target` (which may be replaced
// by the stores' getResults and is returned); a store that answers nothing
// counts as no hits.
#pragma once

#include "core/languages.h"
#include "mfc/cstring.h"

class List;

List* searchStores(const CString& terms, const CString& author, const CString& time, bool unscoped,
                   List* target, const Languages& languages);
// searchStores with no author and no time, over the program's languages.
List* runSearch(const CString& terms, bool unscoped, List* target);
List* searchAllLanguages(const CString& text, bool unscoped, List* target);
