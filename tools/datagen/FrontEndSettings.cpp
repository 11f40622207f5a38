// The settings files the front end starts from: the shipped defaults, the
// player's last-used settings and language (written only when absent, so a
// rebuild never resets a player; profiles are never written here) and the
// purchase page's address.
#include "tools/datagen/DataGen.h"
#include "tools/formats/TextFiles.h"

namespace {

using formats::Section;

std::string DefaultSettings() {
  return formats::SettingsFileText({
      Section<std::string>{"Monitor", {{"Gamma", "500"}}},
      Section<std::string>{"Sound", {{"Effects", "800"}, {"Music", "700"}}},
      Section<std::string>{"Camera", {{"Type", "0"}}},
      Section<std::string>{"Key",
                           {{"MoveUp", "17"},
                            {"MoveDown", "31"},
                            {"MoveLeft", "30"},
                            {"MoveRight", "32"},
                            {"Action", "57"},
                            {"Ability", "18"}}},
  });
}

bool WriteFrontEndSettings(const datagen::Output& out) {
  bool ok = out.Write("ConfigDefault.dat", DefaultSettings());
  ok = out.WriteIfAbsent("ConfigLastUsed.dat", DefaultSettings()) && ok;
  ok = out.WriteIfAbsent("Language.dat", formats::KeyValueFileBytes(
                                             {Section<std::wstring>{L"InitLanguage", {{L"Language", L"ENG"}}}})) &&
       ok;
  ok = out.Write("Buynow.dat",
                 formats::SettingsFileText({Section<std::string>{"Buynow", {{"URL", "https://example.org/"}}}})) &&
       ok;
  return ok;
}

}  // namespace

DATAGEN_GROUP("frontend-settings", WriteFrontEndSettings);
