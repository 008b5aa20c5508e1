#include "maps/pages.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "catalogue/cp932_text.h"
#include "core/text.h"

namespace velkaro {
namespace {

using S = std::string;

// Full resource addresses: the scheme and path are the pages' own, the host is configurable.
struct Resources {
  std::string leafletJs, leafletCss, gsiStd, gsiOrt, osmJp, gsiTerms, osmCopyright;
};

Resources ResourcesOf(const PageHosts& p) {
  return {"https://" + p.leafletCdn + "/leaflet@1.3.0/dist/leaflet.js",
          "https://" + p.leafletCdn + "/leaflet@1.3.0/dist/leaflet.css",
          "http://" + p.gsiTiles + "/xyz/std/{z}/{x}/{y}.png",
          "https://" + p.gsiTiles + "/xyz/ort/{z}/{x}/{y}.jpg",
          "http://" + p.osmJapanTiles + "/{z}/{x}/{y}.png",
          "http://" + p.gsiSite + "/help/termsofuse.html",
          "http://" + p.osmSite + "/copyright"};
}

std::string Point(const LatLon& p) {
  return FormatGeneral(p.latitude) + "," + FormatGeneral(p.longitude);
}

// One polyline's points: `inner` before every point but the last, `last` before the last one.
void AppendPoints(std::vector<std::string>& out, const MapLine& line, const char* inner,
                  const char* last) {
  for (size_t i = 0; i + 1 < line.size(); ++i)
    out.push_back(S(inner) + "[" + Point(line[i]) + "],");
  out.push_back(S(last) + "[" + Point(line.back()) + "]");
}

constexpr const char* kDashedStyle =
    "    ],{color: 'red', weight: 5, opacity: .7, dashArray: '10,3'}).addTo(mapobj);";
constexpr const char* kIndent6 = "      ";
constexpr const char* kIndent11 = "           ";

// The part of an event text after its year ("2015/02/03 17:25" -> "02/03 17:25"), at most 30
// characters.
std::string WithoutYear(const std::string& field) {
  const std::string t = Trim(field);
  const size_t slash = t.find('/');
  return Utf8Substr(slash == std::string::npos ? t : t.substr(slash + 1), 0, 30);
}

// Pages are rebuilt on every change and deleted at exit, so they need no flush to disk: they only
// must never be seen half written. Write a temporary file and rename it over the page.
bool WriteReplacing(const std::string& path, std::string_view bytes, std::string* error) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(tmp.c_str());
      if (error) *error = "cannot write " + tmp;
      return false;
    }
  }
  if (std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    if (error) *error = "cannot rename " + tmp + " to " + path;
    return false;
  }
  return true;
}

}  // namespace

std::string EscapeScriptString(const std::string& text) {
  if (text.find_first_of("'\"\\<\r\n\xE2") == std::string::npos) return text;
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\'':
        out += "\\'";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '<':
        out += "\\x3C";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        // U+2028 and U+2029 end a line inside a script string.
        if (text.compare(i, 3, "\u2028") == 0 || text.compare(i, 3, "\u2029") == 0) {
          out += text.compare(i, 3, "\u2028") == 0 ? "\\u2028" : "\\u2029";
          i += 2;
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string RegisteredMarkerLine(const std::string& row, bool diamondMode) {
  const std::vector<std::string> f = SplitFields(row);
  const std::string& name = Field(f, 1);
  const std::string& lat = Field(f, 4);
  const std::string& lon = Field(f, 5);
  if (name.empty() || lat.empty() || lon.empty()) return {};
  // The coordinate texts go into the script unquoted, so only numbers may pass.
  if (!ParseNumber(lat) || !ParseNumber(lon)) return {};
  std::string suffix;
  if (diamondMode && Utf8Length(Field(f, 7)) > 12) {
    suffix = "  " + WithoutYear(Field(f, 7));
    if (Utf8Length(Field(f, 8)) >= 13) suffix += " & " + WithoutYear(Field(f, 8));
  }
  return "               L.marker([" + lat + "," + lon + "],{title:'" +
         EscapeScriptString(name + suffix) + "',icon:greenIcon}).addTo(mapobj);";
}

LatLon PickMapCentre(LatLon viewpoint, const MapLine& mainLine) {
  return mainLine.size() > 6 ? mainLine[6] : viewpoint;
}

std::vector<std::string> PickMapPageLines(const PickMapContent& c, const PageHosts& hosts) {
  const Resources h = ResourcesOf(hosts);
  const std::string lat = FormatGeneral(c.centre.latitude);
  const std::string lon = FormatGeneral(c.centre.longitude);
  std::vector<std::string> out = {
      "<!DOCTYPE html>",
      "<html> ",
      "<head> ",
      "<meta charset=\"ANSI\"> ",
      "<title>Quennal6</title> ",
      S() + "<script src=\"" + h.leafletJs + "\"></script>",
      S() + "<link rel=\"stylesheet\" href=\"" + h.leafletCss + "\"/>",
      "<style>     #mapDiv{position:absolute;top:5px;left:5px;right:5px;bottom:5px;} </style>",
      "<script>",
      "   var mapobj;     var marker;",
      " ",
      "function init() {",
      "      mapobj = L.map('mapDiv', { zoomControl: false });",
      S() + "      var mypoint = [" + lat + "," + lon + "];",
      "      mapobj.setView(mypoint, 12);",
      S() + "      var gsiattr = \"<a href='" + h.gsiTerms + "'target='_blank'>地理院タイル</a>\";",
      S() + "      var gsi_std = L.tileLayer('" + h.gsiStd +
          "',{ attribution: '地理院標準タイル ',maxZoom: 18});",
      S() + "      var gsi_ort = L.tileLayer('" + h.gsiOrt +
          "',{attribution: '地理院タイル（電子国土基本図（オルソ画像））',maxZoom: 18});",
      S() + "      var osm = L.tileLayer('" + h.osmJp + "',{attribution: \"<a href='" +
          h.osmCopyright + "'target='_blank'>OpenStreetMap</a> contributors\" });",
      S() + "      var baseMaps = {" + "              \"地理院地図標準地図\": gsi_std," +
          "              \"地理院オルソ画像\": gsi_ort," +
          "               \"オープンストリートマップ\": osm};",
      "      L.control.layers(baseMaps).addTo(mapobj);",
      "      gsi_std.addTo(mapobj);",
      " ",
      "    var greenIcon = L.icon({iconUrl: 'greenicon.png',iconSize:[25, 43],iconAnchor:   [13, "
      "43], popupAnchor:  [0, -43] });",
      " ",
      "      mapobj.on('click',   onMapClick);",
      "      mapobj.on('zoomend', onZoomEnd);",
      "    L.polyline([",
      "           [34.58672,137.996948],",
      "           [36.08640774,137.996948],",
      "           [36.08640774,140.99672],",
      "           [34.58672,140.99672],",
      "           [34.58672,137.996948]",
      "    ],{color: 'blue', weight: 7, opacity: .3}).addTo(mapobj);",
      "",
  };
  if (c.mode == ViewMode::kDiamond) {
    if (!c.companionA.empty()) {
      out.push_back("    L.polyline([");
      AppendPoints(out, c.companionA, kIndent6, kIndent11);
      out.push_back(kDashedStyle);
      out.push_back("");
    }
    if (!c.companionB.empty()) {
      out.push_back("\t\tL.polyline([");
      AppendPoints(out, c.companionB, kIndent11, kIndent6);
      out.push_back(kDashedStyle);
      out.push_back("");
    }
  } else if (c.mode == ViewMode::kPearl) {
    for (const MapLine* line : {&c.companionA, &c.companionB}) {
      if (line->empty()) continue;
      out.push_back("    L.polyline([");
      AppendPoints(out, *line, kIndent11, kIndent11);
      out.push_back(kDashedStyle);
      out.push_back("");
    }
  }
  if (c.registered) {
    const bool diamond = c.mode == ViewMode::kDiamond;
    for (const auto& row : c.registered->rows) {
      std::string marker = RegisteredMarkerLine(row, diamond);
      if (!marker.empty()) out.push_back(std::move(marker));
    }
    out.push_back("");
  }
  if (!c.mainLine.empty()) {
    out.push_back("    L.polyline([");
    AppendPoints(out, c.mainLine, kIndent11, kIndent11);
    out.push_back("    ],{color: 'red', weight: 7, opacity: 1}).addTo(mapobj);");
  }
  const std::vector<std::string> tail = {
      "",
      "}",
      "       function onMapClick(e) {",
      "             if (marker !=null){",
      "                 mapobj.removeLayer(marker);",
      "             }",
      "            marker=L.marker(e.latlng).addTo(mapobj);",
      "            mapobj.panTo(e.latlng);",
      "            document.getElementById(\"lat\").value = e.latlng.lat.toString();",
      "            document.getElementById(\"lng\").value = e.latlng.lng.toString();",
      "            document.getElementById(\"clat\").value = e.latlng.lat.toString();",
      "            document.getElementById(\"clon\").value = e.latlng.lng.toString();",
      "    }",
      " ",
      "       function GotoLatLng(Lat, Lang) { ",
      "          mapobj.panTo(new L.LatLng(Lat, Lang));",
      "       }",
      "",
      "        function onZoomEnd(e){",
      "            document.getElementById(\"zoomLevel\").value = mapobj.getZoom(e).toString();",
      "        }",
      "  </script>",
      "</head>",
      "<body onload=\"init()\">",
      "  <header "
      "style=\"text-align:center;\">クリック点にマーカ(クリックで消去)、ラインを追加</header>",
      "  <div id=\"mapDiv\"></div>",
      "<div id=\"map\">",
      "        <input type=\"hidden\" id=\"lat\">",
      "        <input type=\"hidden\" id=\"lng\">",
      "\t      <input type=\"hidden\" id=\"zoomLevel\">",
      "        <input type=\"hidden\" id=\"clat\">",
      "\t      <input type=\"hidden\" id=\"clon\">",
      "        <input type=\"hidden\" id=\"alt\">",
      "        <input type=\"hidden\" id=\"pnum\">",
      " </div> ",
      "</body>",
      "</html>",
      " ",
  };
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

std::vector<std::string> DirectionMapPageLines(LatLon viewpoint, LatLon toward,
                                               const PageHosts& hosts) {
  const Resources h = ResourcesOf(hosts);
  const std::string lat = FormatGeneral(viewpoint.latitude);
  const std::string lon = FormatGeneral(viewpoint.longitude);
  const std::string lat10 = FormatGeneral(toward.latitude);
  const std::string lon10 = FormatGeneral(toward.longitude);
  return {
      "<!DOCTYPE html>",
      "<html>",
      "<head>",
      "<meta charset=\"ANSI\">",
      "<title>Velkaro</title>",
      S() + "<script src=\"" + h.leafletJs + "\"></script>",
      S() + "<link rel=\"stylesheet\" href=\"" + h.leafletCss + "\"/>",
      "<style>     #mapDiv{position:absolute;top:5px;left:5px;right:5px;bottom:5px;} </style>",
      "<script>",
      "   var mapobj;     var marker; ",
      "  function init() {            ",
      "      mapobj = L.map('mapDiv', { zoomControl: false });",
      S() + "      var mypoint = [" + lat + "," + lon + "];",
      "      mapobj.setView(mypoint,15);",
      S() + "      var gsiattr = \"<a href='" + h.gsiTerms +
          "'target='_blank'>地理院タイル</a>\"; ",
      S() + "      var gsi_std = L.tileLayer('" + h.gsiStd +
          "',{ attribution: '地理院標準タイル ',maxZoom: 18});",
      S() + "      var gsi_ort = L.tileLayer('" + h.gsiOrt +
          "',{attribution: '地理院タイル（電子国土基本図（オルソ画像））',maxZoom: 18});  ",
      S() + "      var osm = L.tileLayer('" + h.osmJp + "',{attribution: \"<a href='" +
          h.osmCopyright + "'target='_blank'>OpenStreetMap</a> contributors\" });",
      "      var baseMaps = {\"地理院地図標準地図\": gsi_std,\"地理院オルソ画像\": gsi_ort, "
      "\"オープンストリートマップ\": osm};",
      "      L.control.layers(baseMaps).addTo(mapobj);",
      "      gsi_std.addTo(mapobj);",
      S() + "       L.polyline([[" + lat + "," + lon + "],[" + lat10 + "," + lon10 +
          "]],{ \"color\" : \"red\", \"weight\": 3, \"opacity\": 0.5}).addTo(mapobj); ",
      "       var marker;",
      S() + "       L.marker([" + lat + "," + lon + "]).addTo(mapobj);",
      "  }",
      "</script>",
      "</head>",
      "<body onload=\"init()\"> ",
      "    <div id=\"mapDiv\"></div>",
      "</body>",
      "</html>",
  };
}

std::vector<std::string> ListPointMapPageLines(float latitude, float longitude,
                                               const PageHosts& hosts) {
  const Resources h = ResourcesOf(hosts);
  const std::string lat = FormatGeneral(latitude);
  const std::string lon = FormatGeneral(longitude);
  return {
      "<!DOCTYPE html>",
      "<html> ",
      "<head>",
      "<meta charset=\"ANSI\">",
      "<title>Quennal_6</title>",
      S() + "<script src=\"" + h.leafletJs + "\"></script>",
      S() + "<link rel=\"stylesheet\" href=\"" + h.leafletCss + "\"/>",
      "<style>     #mapDiv{position:absolute;top:5px;left:5px;right:5px;bottom:5px;} </style>",
      "<script>",
      "   var mapobj;     var marker;",
      "  function init() {",
      "      mapobj = L.map('mapDiv', { zoomControl: false });",
      S() + "      var mypoint = [" + lat + "," + lon + "];",
      "      mapobj.setView(mypoint,15);",
      S() + "      var gsiattr = \"<a href='" + h.gsiTerms + "'target='_blank'>地理院タイル</a>\";",
      S() + "      var gsi_std = L.tileLayer('" + h.gsiStd +
          "',{ attribution: '地理院標準タイル ',maxZoom: 18});",
      S() + "      var gsi_ort = L.tileLayer('" + h.gsiOrt +
          "',{attribution: '地理院タイル（電子国土基本図（オルソ画像））',maxZoom: 18});",
      S() + "      var osm = L.tileLayer('" + h.osmJp + "',{attribution: \"<a href='" +
          h.osmCopyright + "'target='_blank'>OpenStreetMap</a> contributors\" });",
      "      var baseMaps = {\"地理院地図標準地図\": gsi_std,\"地理院オルソ画像\": gsi_ort, "
      "\"オープンストリートマップ\": osm};",
      "      L.control.layers(baseMaps).addTo(mapobj);",
      "      gsi_std.addTo(mapobj);",
      S() + "      L.polyline([[" + lat + "," + lon +
          "],[ 35.3628, 138.7308]],{ \"color\" : \"red\", \"weight\": 3, \"opacity\": "
          "0.5}).addTo(mapobj);",
      S() + "      L.marker([" + lat + "," + lon + "],{title:\"登録済\"}).addTo(mapobj); ",
      "  }",
      "</script>",
      "</head>",
      "<body onload=\"init()\">",
      "    <div id=\"mapDiv\"></div>",
      "</body>",
      "</html>",
  };
}

bool WritePage(const std::string& path, const std::vector<std::string>& lines, std::string* error) {
  // A page is never left half old, half new: the old one goes first, the new one appears whole.
  ::unlink(path.c_str());
  return WriteCp932LinesLossless(path, lines, error, WriteReplacing);
}

bool WritePickMapPage(const std::string& path, const PickMapContent& content,
                      const PageHosts& hosts, std::string* error) {
  return WritePage(path, PickMapPageLines(content, hosts), error);
}

bool WriteDirectionMapPage(const std::string& path, LatLon viewpoint, LatLon toward,
                           const PageHosts& hosts, std::string* error) {
  return WritePage(path, DirectionMapPageLines(viewpoint, toward, hosts), error);
}

bool WriteListPointMapPage(const std::string& path, float latitude, float longitude,
                           const PageHosts& hosts, std::string* error) {
  return WritePage(path, ListPointMapPageLines(latitude, longitude, hosts), error);
}

}  // namespace velkaro
