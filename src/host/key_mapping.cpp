#include "host/key_mapping.h"

namespace fluxo {
namespace {

constexpr uint32_t kBack = 0x08, kClear = 0x0C, kShift = 0x10, kControl = 0x11, kMenu = 0x12, kPause = 0x13,
                   kCapital = 0x14, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24, kSelect = 0x29,
                   kPrint = 0x2A, kSnapshot = 0x2C, kInsert = 0x2D, kHelp = 0x2F, kLeftWin = 0x5B,
                   kApps = 0x5D, kNumpad0 = 0x60, kMultiply = 0x6A, kDecimal = 0x6E, kDivide = 0x6F,
                   kNumLock = 0x90, kScroll = 0x91, kOemSemicolon = 0xBA, kOemPlus = 0xBB, kOemComma = 0xBC,
                   kOemMinus = 0xBD, kOemPeriod = 0xBE, kOemSlash = 0xBF, kOemTilde = 0xC0,
                   kOemOpenBracket = 0xDB, kOemBackslash = 0xDC, kOemCloseBracket = 0xDD, kOemQuote = 0xDE;

// Keys of the numeric pad that have codes of their own there.
uint32_t KeypadKeyOf(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kNumpad0 + static_cast<uint32_t>(qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Plus: return vk::kAdd;
    case Qt::Key_Minus: return vk::kSubtract;
    case Qt::Key_Asterisk: return kMultiply;
    case Qt::Key_Slash: return kDivide;
    case Qt::Key_Period:
    case Qt::Key_Comma: return kDecimal;
    default: return 0;
  }
}

uint32_t MainKeyOf(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::k0 + static_cast<uint32_t>(qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return vk::kA + static_cast<uint32_t>(qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::kF1 + static_cast<uint32_t>(qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace: return kBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::kTab;
    case Qt::Key_Clear: return kClear;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::kReturn;
    case Qt::Key_Shift: return kShift;
    case Qt::Key_Control: return kControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return kMenu;
    case Qt::Key_Pause: return kPause;
    case Qt::Key_CapsLock: return kCapital;
    case Qt::Key_Escape: return vk::kEscape;
    case Qt::Key_Space: return vk::kSpace;
    case Qt::Key_PageUp: return kPrior;
    case Qt::Key_PageDown: return kNext;
    case Qt::Key_End: return kEnd;
    case Qt::Key_Home: return kHome;
    case Qt::Key_Left: return vk::kLeft;
    case Qt::Key_Up: return vk::kUp;
    case Qt::Key_Right: return vk::kRight;
    case Qt::Key_Down: return vk::kDown;
    case Qt::Key_Select: return kSelect;
    case Qt::Key_Printer: return kPrint;
    case Qt::Key_Print: return kSnapshot;
    case Qt::Key_Insert: return kInsert;
    case Qt::Key_Delete: return vk::kDelete;
    case Qt::Key_Help: return kHelp;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return kLeftWin;
    case Qt::Key_Menu: return kApps;
    case Qt::Key_NumLock: return kNumLock;
    case Qt::Key_ScrollLock: return kScroll;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return kOemSemicolon;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return kOemPlus;
    case Qt::Key_Comma:
    case Qt::Key_Less: return kOemComma;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return kOemMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater: return kOemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question: return kOemSlash;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return kOemTilde;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return kOemOpenBracket;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return kOemBackslash;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return kOemCloseBracket;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return kOemQuote;
    default: return kUnmappedVirtualKey;
  }
}

}  // namespace

uint32_t VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (uint32_t code = KeypadKeyOf(qtKey)) return code;
  }
  return MainKeyOf(qtKey);
}

KeyMessage KeyMessageOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool withAlt = (modifiers & Qt::AltModifier) || qtKey == Qt::Key_Alt;
  return {withAlt ? SaverMessage::SysKeyDown : SaverMessage::KeyDown, VirtualKeyOf(qtKey, modifiers)};
}

}  // namespace fluxo
