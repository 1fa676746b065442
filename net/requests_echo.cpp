#include "net/requests_echo.h"

#include "core/attr_record.h"

bool EchoReplyFor(const CString& message, CString& reply) {
  int data = message.Find("DATA ");
  if (data < 0) return false;
  CString payload = message.Mid(data + 5);
  if (payload.Left(12) != "ECHO_REQUEST") return false;

  CString from = AttrRecord(message).getAttribute("FROM ");
  from.Replace('\r', ' ');
  int open = from.Find('[');
  int start = open < 0 ? 0 : open + 1;
  int close = from.Find(']', start);
  CString sender = close < 0 ? from.Mid(start) : from.Mid(start, close - start);
  reply = "message " + sender + " ECHO_REPLY\n" + "Tolm";
  return true;
}
