// The manifest document, assembled from constant pieces: leading tabs, text, CR LF.
#include "model/manifest_document.h"

#include <string_view>

namespace zelvo {
namespace {

struct Line {
  int tabs;
  std::string_view text;
};

constexpr std::string_view kLineEnd = "\r\n";

// Up to the attribute that names the processor.
constexpr Line kHead[] = {
    {0, R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"},
    {0, R"(<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">)"},
    {0, ""},
    {0, "<description></description>"},
    {0, "<dependency>"},
    {1, "<dependentAssembly>"},
    {2, "<assemblyIdentity"},
    {3, R"(type="win32")"},
    {3, R"(name="Microsoft.Windows.Common-Controls")"},
    {3, R"(version="6.0.0.0")"},
};

constexpr int kArchitectureTabs = 3;
constexpr std::string_view kArchitectureX86 = R"(processorArchitecture="X86")";
constexpr std::string_view kArchitectureAny = R"(processorArchitecture="*")";

constexpr Line kTail[] = {
    {3, R"(publicKeyToken="6595b64144ccf1df")"},
    {3, R"(language="*")"},
    {2, "/>"},
    {1, "</dependentAssembly>"},
    {0, "</dependency>"},
    {0, "</assembly>"},
};

void Append(std::string& document, const Line& line) {
  document.append(static_cast<size_t>(line.tabs), '\t');
  document += line.text;
  document += kLineEnd;
}

}  // namespace

std::string ManifestDocument(ManifestArchitecture architecture) {
  std::string document;
  document.reserve(450);
  for (const Line& line : kHead) Append(document, line);
  Append(document,
         {kArchitectureTabs,
          architecture == ManifestArchitecture::Any ? kArchitectureAny : kArchitectureX86});
  for (const Line& line : kTail) Append(document, line);
  document += kLineEnd;  // the empty last line
  return document;
}

std::string ManifestPath(const std::string& target_path) { return target_path + ".manifest"; }

}  // namespace zelvo
