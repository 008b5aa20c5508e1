#pragma once

#include <string>

namespace velkaro {

// The public elevation service asked for a point outside the terrain tiles.
inline constexpr const char* kDefaultElevationServiceBase = "http://cyberjapandata2.gsi.go.jp";

// base + "/general/dem/scripts/getelevation.php?lon=" + longitude + "&lat=" + latitude +
// "&outtype=JSON"; the texts go in exactly as the web page gave them.
std::string ElevationRequestUrl(const std::string& latitudeText, const std::string& longitudeText,
                                const std::string& base = kDefaultElevationServiceBase);

// The elevation text of a reply: of its first line, the text before the first ","; of that, the
// characters after the first ":" (at most 20), or all of it without a ":". Empty without a ",".
std::string ElevationReplyText(const std::string& reply);

// The elevation service's answer as the caller uses it: the reply text when it reads as a number,
// else empty (a quoted text or an error page is no elevation).
std::string ElevationFromReply(const std::string& reply);

// The reply text as metres: empty or not a number counts as 0 (the service had no usable answer).
double ElevationReplyMetres(const std::string& replyText);

}  // namespace velkaro
