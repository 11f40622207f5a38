#include "frontend/screens/BuyNow.h"

#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/util/ConfigFile.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Window.h"

CMyBuyNow g_BuyNowAction;

std::string ReadBuyNowAddress(const uint8_t* data, size_t size) {
  if (!data || size == 0) return std::string();
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  const auto records = Nembra::SectionedText<std::string>::Parse(text);
  const auto found = Nembra::SectionedText<std::string>::Find(records, "URL", "Buynow");
  if (found.empty()) return std::string();
  // Blanks around the address are not part of it.
  const std::string& value = found.front().value;
  const size_t first = value.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

bool IsPurchaseAddress(const std::string& address) {
  size_t schemeEnd = 0;
  if (address.rfind("http://", 0) == 0)
    schemeEnd = 7;
  else if (address.rfind("https://", 0) == 0)
    schemeEnd = 8;
  else
    return false;
  if (address.size() == schemeEnd) return false;
  for (unsigned char c : address)
    if (c <= 0x20 || c == 0x7F) return false;
  return true;
}

void CMyBuyNow::Execute() {
  const std::string file = Nembra::g_DataDirectory + "Buynow.dat";
  std::vector<uint8_t> bytes;
  m_LastAddress = platform::ReadWholeFile(file, bytes) ? ReadBuyNowAddress(bytes.data(), bytes.size()) : std::string();
  m_LastOpened = false;
  if (IsPurchaseAddress(m_LastAddress))
    m_LastOpened = platform::OpenWebPage(m_LastAddress);
  else
    platform::LogWarning("purchase page '" + m_LastAddress + "' is not a web address; not opened");
  if (Nembra::g_pApplication) Nembra::g_pApplication->Quit();
}
