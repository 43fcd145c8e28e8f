// Fonts of the document prepared for a device.
#include "draw/Surface.h"

#include <cstdlib>

#include "base/Cp1252.h"
#include "base/FixedText.h"

namespace hp::draw {

int DeviceFontHeight(int32_t storedHeight, int deviceDpiY) {
  if (deviceDpiY <= 0) deviceDpiY = kFontReferenceDpi;
  // Rounded half away from zero; 64 bits so that no stored value overflows.
  const long long scaled = static_cast<long long>(storedHeight) * deviceDpiY;
  const long long half = kFontReferenceDpi / 2;
  const long long h = scaled >= 0 ? (scaled + half) / kFontReferenceDpi : -((-scaled + half) / kFontReferenceDpi);
  if (h > INT32_MAX) return INT32_MAX;
  if (h < INT32_MIN + 1) return INT32_MIN + 1;
  return static_cast<int>(h);
}

Font MakeFont(const doc::FontSetting& setting, int deviceDpiY) {
  Font font;
  font.height = DeviceFontHeight(setting.height, deviceDpiY);
  font.width = DeviceFontHeight(setting.width, deviceDpiY);
  font.escapement = setting.escapement;
  font.weight = setting.weight;
  font.italic = setting.italic != 0;
  font.underline = setting.underline != 0;
  font.strikeOut = setting.strikeOut != 0;
  font.faceName = base::Cp1252ToUtf8(base::TextOf(setting.faceName));
  return font;
}

}  // namespace hp::draw
