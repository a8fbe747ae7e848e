#pragma once
// The messages of the notification bus. A message is one of these named
// constants and nothing else: tNote cannot be made from a bare string, so a
// misspelt message stops the build instead of silently reaching nobody.
// The texts are the program's own and case-sensitive.

#include <string_view>

class tNote
{
  public:
    constexpr std::string_view Text() const { return Text_; }
    constexpr bool operator==(const tNote& Other) const { return Text_ == Other.Text_; }

  private:
    friend struct tNoteMaker;
    constexpr explicit tNote(std::string_view T) : Text_(T) {}
    std::string_view Text_;
};

struct tNoteMaker {
    static constexpr tNote Make(std::string_view T) { return tNote(T); }
};

namespace Note
{
inline constexpr tNote Startup = tNoteMaker::Make("startup");
inline constexpr tNote LoadConfig = tNoteMaker::Make("load config");
inline constexpr tNote SaveConfig = tNoteMaker::Make("save config");
inline constexpr tNote NewSavestate = tNoteMaker::Make("new savestate");
inline constexpr tNote NewSNES = tNoteMaker::Make("new SNES");
inline constexpr tNote NewCart = tNoteMaker::Make("new Cart");
inline constexpr tNote NewCartROM = tNoteMaker::Make("new Cart.ROM");
inline constexpr tNote NewSRAM = tNoteMaker::Make("new SRAM");
inline constexpr tNote NewSPC = tNoteMaker::Make("new SPC");
inline constexpr tNote NewPalCell = tNoteMaker::Make("new PalCell");
inline constexpr tNote NewListItem = tNoteMaker::Make("new ListItem");
inline constexpr tNote NewZSTData = tNoteMaker::Make("new ZST.Data");
inline constexpr tNote NewZSTStream = tNoteMaker::Make("new ZST.Stream");
inline constexpr tNote NewZSTPreview = tNoteMaker::Make("new ZST.Preview");
inline constexpr tNote NewS9X = tNoteMaker::Make("new S9X");
inline constexpr tNote NewS9XPreview = tNoteMaker::Make("new S9X.Preview");
inline constexpr tNote NewSSL = tNoteMaker::Make("new SSL");
inline constexpr tNote NewSGT = tNoteMaker::Make("new SGT");
inline constexpr tNote NewSSLPreview = tNoteMaker::Make("new SSL.Preview");
inline constexpr tNote UpdateFileDialogs = tNoteMaker::Make("update file dialogs");
inline constexpr tNote ApplActivated = tNoteMaker::Make("Appl. activated");
inline constexpr tNote ApplDeactivated = tNoteMaker::Make("Appl. deactivated");
} // namespace Note
