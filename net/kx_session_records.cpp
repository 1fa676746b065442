// The session's getRecord: the attribute record of the object a name
// designates. Names of other schemes (http, gopher, ftp ...) get a record
// made up here, a remote pseudo object; "korvex:" URLs are reduced to an
// object name, which may live on another server; object ids, global ids
// and plain names are asked of the server.
#include <ctime>
#include <vector>

#include "core/attr_record.h"
#include "core/entities.h"
#include "core/environ.h"
#include "core/message_boxes.h"
#include "core/store_registry.h"
#include "net/kx_session.h"
#include "win/winsock.h"

namespace {

// Splits at blanks and underscores (runs of them make no empty parts).
std::vector<CString> SplitIdParts(const CString& name) {
  std::vector<CString> parts;
  CString part;
  for (int i = 0; i < name.GetLength(); ++i) {
    const char c = name[i];
    if (c == ' ' || c == '_') {
      if (!part.IsEmpty()) parts.push_back(part);
      part.Empty();
    } else {
      part += c;
    }
  }
  if (!part.IsEmpty()) parts.push_back(part);
  return parts;
}

// A URL's host part and path: after "//" the host runs to the next "/",
// the path from that "/" to a "#" or the end. A URL without "//" names no
// host; its path is what follows the colon.
void SplitUrl(const CString& url, int colon, CString& hostPart, CString& path) {
  hostPart.Empty();
  path.Empty();
  const int afterColon = colon + 1;
  if (url.Mid(afterColon, 2) != "//") {
    path = url.Mid(afterColon);
  } else {
    const int hostStart = afterColon + 2;
    const int slash = url.Find('/', hostStart);
    if (slash < 0) {
      hostPart = url.Mid(hostStart);
    } else {
      hostPart = url.Mid(hostStart, slash - hostStart);
      path = url.Mid(slash);
    }
  }
  const int hash = path.Find('#');
  if (hash >= 0) path = path.Left(hash);
}

const char* DefaultPortOf(const CString& scheme) {
  if (scheme == "gopher") return "70";
  if (scheme == "http") return "80";
  if (scheme == "ftp") return "21";
  return "";
}

}  // namespace

CString KxSession::RemotePseudoRecord(const CString& url, const CString& timeCreated) {
  const int colon = url.Find(':');
  const CString scheme = colon < 0 ? CString() : url.Left(colon);
  CString hostPart;
  CString urlPath;
  SplitUrl(url, colon < 0 ? -1 : colon, hostPart, urlPath);

  CString urlHost = hostPart;
  CString urlPort;
  const int portColon = hostPart.Find(':');
  if (portColon >= 0) {
    urlHost = hostPart.Left(portColon);
    urlPort = hostPart.Mid(portColon + 1);
  }
  if (urlPort.IsEmpty()) urlPort = DefaultPortOf(scheme);
  if (urlPath.Left(1) != "/") urlPath = "/" + urlPath;

  CString record = "ObjectID=0x00000000\nType=Document\nDocumentType=Remote\nAuthor=system\n";
  record += "Protocol=" + scheme + "\n";
  record += "Host=" + urlHost + "\n";
  record += "Port=" + urlPort + "\n";
  record += "Path=" + urlPath + "\n";
  record += "Title=??:" + urlPath + "\n";
  record += "TimeCreated=" + timeCreated + "\n";
  if (scheme == "gopher") {
    // The gopher type is the selector's first character, behind the "/".
    const CString selector = urlPath.GetLength() > 1 ? urlPath.Mid(1) : urlPath;
    record += "GopherType=" + selector.Left(1) + "\n";
  }
  return record;
}

CString KxSession::getRecord(const CString& name) {
  const int colon = name.Find(':');
  if (colon >= 0 && name.Left(colon) != kServerScheme)
    return RemotePseudoRecord(name, Environ::timeText(std::time(nullptr), false));
  if (!connected()) {
    ShowErrorText(kNotConnectedText);
    return CString();
  }
  if (colon < 0) return recordByObjectName(name);

  // A "korvex:" name. Without any "/" it is a bare object name.
  if (name.Find('/') < 0) {
    CString objectName = name.Mid(colon + 1);
    const int semicolon = objectName.Find(';');
    if (semicolon >= 0) objectName = objectName.Left(semicolon);
    return recordByObjectName(objectName);
  }

  // A URL: korvex://host[:port]/name[;options]. The port does not matter:
  // the host's address tells whether the object is on this server.
  CString hostPart;
  CString urlPath;
  SplitUrl(name, colon, hostPart, urlPath);
  // A user part (as in the session's own address) names no host.
  if (const int at = hostPart.Find('@'); at >= 0) hostPart = hostPart.Mid(at + 1);
  const int portColon = hostPart.Find(':');
  const CString urlHost = portColon >= 0 ? hostPart.Left(portColon) : hostPart;
  // SplitUrl cut the path at a "#"; the object name ends at ";" instead.
  CString objectName;
  {
    const int hostStart = name.Mid(colon + 1, 2) == "//" ? colon + 3 : colon + 1;
    const int slash = name.Find('/', hostStart);
    if (slash >= 0) objectName = name.Mid(slash + 1);
    const int semicolon = objectName.Find(';');
    if (semicolon >= 0) objectName = objectName.Left(semicolon);
  }
  if (objectName.IsEmpty()) objectName = path;

  CString urlAddress;
  CString sessionAddress;
  if (!urlHost.IsEmpty() && !Environ::hostAddress(urlHost.c_str(), urlAddress)) return CString();
  if (!Environ::hostAddress(host.c_str(), sessionAddress)) return CString();
  if (urlHost.IsEmpty() || urlAddress == sessionAddress) return recordByObjectName(objectName);

  // The object lives on another server, known here by its address.
  const winsock::u_long network = winsock::inet_addr(urlAddress.c_str());
  CString serverText;
  serverText.Format("0x%08x", static_cast<unsigned>(winsock::ntohl(network)));
  if (objectName.Left(2) == "0x") return recordByObjectName(serverText + " " + objectName);
  return recordOnOtherServer(static_cast<LONG>(winsock::ntohl(network)), objectName);
}

CString KxSession::recordOfId(ObjectId id) {
  CString record;
  // A record whose anchor lines could not be completed (old servers) is
  // still handed out; a refused request leaves it empty.
  connection_->getRecord(id, record);
  return record;
}

CString KxSession::recordOnOtherServer(LONG serverAddress, const CString& objectName) {
  CString rootText;
  rootText.Format("0x%08x 0x00000000", static_cast<unsigned>(serverAddress));
  const ObjectId root = connection_->resolveGlobalId(rootText);
  if (root.isNull()) return CString();
  CString rootRecord;
  if (!connection_->getRecord(root, rootRecord)) return CString();

  IdArray within;
  within.Insert(root);
  IdArray hits;
  connection_->queryWithin(within, "Name=" + objectName, hits);
  if (hits.count() == 0) connection_->queryWithin(within, "Name=rootcollection", hits);
  if (hits.count() == 0) return CString();
  return recordOfId(hits.at(0));
}

CString KxSession::recordByObjectName(const CString& objectName) {
  if (objectName.Left(2) == "0x") {
    const std::vector<CString> parts = SplitIdParts(objectName);
    ObjectId id;
    if (parts.size() > 1 && parts[1].Left(2) == "0x") {
      CString global = objectName;
      global.Replace('_', ' ');
      id = connection_->resolveGlobalId(global);
    } else {
      id = ObjectId(objectName);
    }
    return recordOfId(id);
  }
  return recordByName(objectName);
}

CString KxSession::recordByName(const CString& name) {
  const CString plain = DecodeEntities(name);
  IdArray hits;
  connection_->query("Name=" + plain, hits);
  ObjectId id;
  if (hits.count() > 0) {
    id = hits.at(0);
  } else {
    id = connection_->findCollectionByName(plain);
    if (id.isNull() && name == path) id = connection_->findCollectionByName(kRootCollectionName);
  }
  if (id.isNull()) return CString();
  return recordOfId(id);
}
