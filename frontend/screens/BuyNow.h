#pragma once
// The buy-now action: opens the purchase page named in "Buynow.dat"
// ([Buynow] URL) in the desktop's browser and ends the game, whether the
// page opened or not.
#include <cstddef>
#include <cstdint>
#include <string>

class CBuyNowBehavior {
 public:
  virtual ~CBuyNowBehavior() = default;
  virtual void Execute() = 0;
};

class CMyBuyNow : public CBuyNowBehavior {
 public:
  void Execute() override;

  // What the last Execute asked for and whether a browser was started for
  // it (refused addresses start nothing).
  const std::string& LastAddress() const { return m_LastAddress; }
  bool LastOpened() const { return m_LastOpened; }

 private:
  std::string m_LastAddress;
  bool m_LastOpened = false;
};

extern CMyBuyNow g_BuyNowAction;

// [Buynow] URL of the bytes of a "Buynow.dat", without blanks around it;
// empty when absent.
std::string ReadBuyNowAddress(const uint8_t* data, size_t size);

// Only plain web addresses go to the browser: "http://" or "https://"
// followed by at least one character, and no blanks or control characters
// anywhere.
bool IsPurchaseAddress(const std::string& address);
