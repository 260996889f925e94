// The product identity queries: each loads the product's configuration document into
// g_identityDocument and answers one value of its section "common", or the composed title.
#include <windows.h>

#include <cstring>
#include <string>

#include "config/ascii_case.h"
#include "export_guard.h"
#include "identity_document.h"
#include "qvxsetup.h"

ConfigDocument g_identityDocument;
char g_titleBuffer[kTitleBufferSize];

namespace {

const char kIdentitySection[] = "common";
const char kEmpty[] = "";

const char* IdentityString(const char* configPath, const char* key) {
  g_identityDocument.Load(configPath);
  return g_identityDocument.GetString(kIdentitySection, key, kEmpty);
}

// Formats `format`, whose one argument is "%s", with `edition` into g_titleBuffer. An edition too
// long for the buffer is cut so that the title keeps its first 127 bytes; the formatter is never
// handed more than fits.
void ComposeTitleWithEdition(const char* format, const char* edition) {
  const size_t fixedLength = std::strlen(format) - 2;  // without the "%s"
  const size_t room = kTitleBufferSize - 1 - fixedLength;
  size_t length = 0;
  while (length < room && edition[length] != '\0') {
    ++length;
  }
  const std::string cut(edition, length);
  wsprintfA(g_titleBuffer, format, cut.c_str());
}

void ComposeTitle(const char* configPath) {
  const char* name = IdentityString(configPath, "name");
  if (std::strstr(name, "Visage") != nullptr) {
    ComposeTitleWithEdition("Visage Shifter 2.0 %s",
                            g_identityDocument.GetString(kIdentitySection, "edition", kEmpty));
  } else if (std::strstr(name, "Playtone") != nullptr) {
    wsprintfA(g_titleBuffer, "Playtone 7.0");
  } else {
    ComposeTitleWithEdition("Tonecraft 7.0 %s",
                            g_identityDocument.GetString(kIdentitySection, "edition", kEmpty));
  }
}

}  // namespace

extern "C" {

int32_t QVXSETUP_CALL f10(const char* configPath) {
  return CallGuarded<int32_t>(0, [&] {
    g_identityDocument.Load(configPath);
    return g_identityDocument.GetInt(kIdentitySection, "id", 0);
  });
}

const char* QVXSETUP_CALL f11(const char* configPath) {
  return CallGuarded<const char*>(kEmpty, [&] { return IdentityString(configPath, "name"); });
}

const char* QVXSETUP_CALL f12(const char* configPath) {
  return CallGuarded<const char*>(kEmpty, [&] { return IdentityString(configPath, "version"); });
}

const char* QVXSETUP_CALL f13(const char* configPath) {
  return CallGuarded<const char*>(kEmpty, [&] { return IdentityString(configPath, "namefull"); });
}

const char* QVXSETUP_CALL f14(const char* configPath) {
  return CallGuarded<const char*>(kEmpty, [&] {
    const char* fullName = IdentityString(configPath, "namefull");
    static const char kBrandPrefix[] = "QB ";
    return StartsWithIgnoringAsciiCase(fullName, kBrandPrefix) ? fullName + sizeof kBrandPrefix - 1
                                                               : fullName;
  });
}

const char* QVXSETUP_CALL f21(const char* configPath) {
  CallGuarded([&] {
    g_titleBuffer[0] = '\0';
    ComposeTitle(configPath);
  });
  return g_titleBuffer;
}

}  // extern "C"
