// Anchors: a link between two objects is itself a server object. An anchor
// belongs to a document and marks either the start of a link (a source
// anchor, "TAnchor=Src") or its end. Its record names the place in the
// document ("Position="), the other end ("Dest=", "GDest=", or a "Hint=" of
// "URL:" and an address), the kind of link ("LinkType=") and optionally a
// fragment name inside the destination ("Fragment=").
//
// Following a link asks the anchor for its destination object
// (getDestObject), which is resolved once and cached until the next parse.
#pragma once

#include <cstdint>
#include <functional>

#include "core/kx_object.h"
#include "core/objref.h"
#include "core/store.h"
#include "mfc/cstring.h"

namespace kxanchor {
inline constexpr const char* kTypeName = "Anchor";
inline constexpr const char* kSourceMark = "Src";
inline constexpr const char* kTAnchorKey = "TAnchor=";
inline constexpr const char* kPositionKey = "Position=";
inline constexpr const char* kHintKey = "Hint=";
}  // namespace kxanchor

// Where an anchor of a server store leads: the server's answer to the
// destination request (request code 2 on the session's control connection,
// with the anchor's object id). True with the destination's object id when
// the server reports success. The server-session layer, which owns the
// control connection, installs it; without one no server anchor resolves.
using AnchorDestinationQuery =
    std::function<bool(Store& store, std::int32_t anchorId, std::int32_t& destinationId)>;
// Installs the query (an empty one removes it); returns the previous one.
AnchorDestinationQuery SetAnchorDestinationQuery(AnchorDestinationQuery query);

class Anchor : public KXObject {
 public:
  // No store yet: the code that fetched the record attaches it. A record
  // whose type is not "Anchor" is a broken invariant of the object factory:
  // the fatal box "Fatal Error: Anchor with Type=<type>" ends the program.
  explicit Anchor(const CString& record);

  // --- Replaced virtual operations, in slot order ---
  ~Anchor() override;
  // Fetches the record when the flags ask for it and parses it with the
  // base's and this class's parse; the flags are left as they are.
  bool refresh() override;
  // The anchor's own title; when it has none, its destination's.
  CString getTitle() override;
  CString getAttributeNames() override;
  // The collections that hold the anchor (request kind 3).
  List* getParents(List* list, std::int32_t unused) override;
  bool removeFromStore() override;
  // Only the parent is used; the store is chooseStore(own, parent's).
  bool insertInto(const Ref<KXObject>& parent, const CString& fileName, const char* data,
                  std::int32_t length) override;
  // The store is chooseStore(to's, from's).
  bool moveBetween(const Ref<KXObject>& from, const Ref<KXObject>& to) override;
  // The parent's store when that is the local store, else the anchor's own.
  bool attachTo(const Ref<KXObject>& parent) override;
  bool detachFrom(const Ref<KXObject>& parent) override;
  // The source flag and the state; forgets the cached destination. Reads
  // the record whatever the refresh flags say.
  bool parseAttributes(const CString& recordText) override;

  // --- Key getters (first value from the record, no refresh) ---
  CString getPosition() const;
  CString getDest() const;
  CString getGDest() const;
  CString getSrc() const;
  CString getHint() const;
  CString getLinkType() const;
  CString getFragment() const;

  // The destination object, resolved once: a server anchor asks the server
  // (AnchorDestinationQuery), a local one fetches its "Src=" name. Null when
  // it cannot be resolved. The anchor's visited flag follows the
  // destination's. The anchor keeps the destination's name, not the object:
  // documents own their anchors, and anchors that held their destinations
  // would let two documents that link to each other keep each other alive
  // after every other holder let go. The object comes from the object cache
  // (or the store, once the cache lost it).
  Ref<KXObject> getDestObject();

  bool isSourceAnchor() const { return isSource; }
  const CString& getState() const { return state; }

 protected:
  bool isSource = false;
  // How the destination was resolved (the name fetched) and the identifier
  // the object cache keeps it under; both empty until resolved.
  CString destinationName;
  CString destinationId;
  CString state;

 private:
  // While the base parse runs, the title it records is the anchor's own:
  // resolving the destination there would ask the store for an object the
  // parse then forgets.
  bool parsing_ = false;
  // An untitled anchor whose destination leads back to it (directly or
  // through other untitled anchors) must not ask for titles for ever.
  bool resolvingTitle_ = false;
};
