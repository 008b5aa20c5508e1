#include "maps/elevation_reply.h"

#include "core/text.h"

namespace velkaro {

std::string ElevationRequestUrl(const std::string& latitudeText, const std::string& longitudeText,
                                const std::string& base) {
  return base + "/general/dem/scripts/getelevation.php?lon=" + longitudeText +
         "&lat=" + latitudeText + "&outtype=JSON";
}

std::string ElevationReplyText(const std::string& reply) {
  const size_t eol = reply.find_first_of("\r\n");
  const std::string first = reply.substr(0, eol);
  const size_t comma = first.find(',');
  if (comma == std::string::npos || comma == 0) return {};
  const std::string head = first.substr(0, comma);
  const size_t colon = head.find(':');
  if (colon == std::string::npos) return head;
  return Utf8Substr(head.substr(colon + 1), 0, 20);
}

std::string ElevationFromReply(const std::string& reply) {
  std::string text = ElevationReplyText(reply);
  if (!ParseNumber(text)) text.clear();
  return text;
}

double ElevationReplyMetres(const std::string& replyText) {
  const auto v = ParseNumber(replyText);
  return v ? *v : 0.0;
}

}  // namespace velkaro
