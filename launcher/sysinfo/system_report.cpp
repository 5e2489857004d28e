#include "launcher/sysinfo/system_report.h"

#include <cstdint>
#include <utility>

#include "launcher/sysinfo/number_format.h"

namespace kovrin::sysinfo {
namespace {

struct FlagLine {
  std::uint32_t bit;
  const char* line;
};

// Palette lines, in the order they are written.
constexpr FlagLine kPaletteLines[] = {
    {kPalCaps1Bit, "   palette support 1bpp "},
    {kPalCaps2Bit, "   palette support 2bit "},
    {kPalCaps8Bit, "   palette support 8bit "},
    {kPalCaps8BitEntries, "   palette support 8bit entries "},
    {kPalCapsAllow256, "   palette support setting all 256 colors"},
};

constexpr FlagLine kRenderDepthLines[] = {
    {kDepth8, "     Supports rendering to 8 bit"},
    {kDepth16, "     Supports rendering to 16 bit"},
    {kDepth24, "     Supports rendering to 24 bit"},
    {kDepth32, "     Supports rendering to 32 bit"},
};

constexpr FlagLine kZBufferLines[] = {
    {kDepth8, "     Supports  8 bit z buffer"},
    {kDepth16, "     Supports  16 bit z buffer"},
    {kDepth24, "     Supports 24 bit z buffer"},
    {kDepth32, "     Supports 32 bit z buffer"},
};

constexpr FlagLine kDevCapsLines[] = {
    {kDevCapsTextureNonLocalVidMem, "     Supports AGP textures"},
    {kDevCapsSortDecreasingZ, "     IM triangles must be sorted by decreasing depth"},
    {kDevCapsSortExact, "     IM triangles must be sorted exactly"},
    {kDevCapsSortIncreasingZ, "     IM triangles must be sorted by increasing depth"},
    {kDevCapsTextureVideoMemory, "     IM can uses video memory to store textures"},
};

template <std::size_t N>
void WriteFlagLines(ReportSink& out, std::uint32_t word, const FlagLine (&table)[N]) {
  for (const FlagLine& entry : table) {
    if (word & entry.bit) {
      out.AddItem(entry.line);
    }
  }
}

double Mebibytes(std::uint64_t bytes) { return static_cast<double>(bytes) / 1024 / 1024; }

}  // namespace

void SystemReport::GetDisplayCards() {
  out_.AddItem("Display Cards");
  const std::vector<AdapterIdentity> adapters = provider_.Adapters();
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    const AdapterIdentity& adapter = adapters[i];
    out_.AddItem(" Index        " + FormatNumber(static_cast<double>(i + 1)));
    out_.AddItem(" Description  " + adapter.description);
    out_.AddItem(" Name         " + adapter.driverName);
    out_.AddItem(" GUID         " + adapter.guid);
    out_.AddItem("");
    GetDDCaps(adapter.guid);
    GetD3DDevices(adapter.guid);
    GetDisplayModes(adapter.guid);
  }
}

void SystemReport::GetDDCaps(const std::string& sGuid) {
  const AdapterCaps caps = provider_.Caps(sGuid);
  out_.AddItem("  HW CAPS");
  if (caps.vidMemTotal) {
    out_.AddItem("   total video memory " + FormatNumber(Mebibytes(*caps.vidMemTotal)) + " mbyte");
  }
  if (caps.vidMemFree) {
    out_.AddItem("   free video memory " + FormatNumber(Mebibytes(*caps.vidMemFree)) + " mbyte");
  }
  if (caps.palCaps) {
    if (*caps.palCaps == 0) {
      out_.AddItem("   no hw palette support");
    }
    WriteFlagLines(out_, *caps.palCaps, kPaletteLines);
  }
  if (caps.canCalibrateGamma) {
    out_.AddItem(*caps.canCalibrateGamma ? "   supports gamma correction" : "   no support for gamma correction");
  }
}

void SystemReport::GetD3DDevices(const std::string& sGuid) {
  out_.AddItem("   D3D devices");
  out_.AddItem("");
  const std::size_t count = provider_.DeviceCount(sGuid);
  for (std::size_t i = 0; i < count; ++i) {
    WriteDevice(provider_.Device(sGuid, i));
  }
}

void SystemReport::WriteDevice(const DeviceDesc& device) {
  out_.AddItem("     Guid        " + device.guid);
  out_.AddItem("     Description " + device.description);
  out_.AddItem("     Name        " + device.name);
  out_.AddItem("    Device ");
  out_.AddItem("     Max Texture Height  " + FormatNumber(device.maxTextureHeight) + " Pixel");
  out_.AddItem("     Max Texture Width   " + FormatNumber(device.maxTextureWidth) + " Pixel");
  WriteFlagLines(out_, device.renderBitDepth, kRenderDepthLines);
  WriteFlagLines(out_, device.zBufferBitDepth, kZBufferLines);
  if (device.zBufferBitDepth == 0) {
    out_.AddItem("     no z buffer support");
  }
  WriteFlagLines(out_, device.devCaps, kDevCapsLines);
  out_.AddItem("");
}

void SystemReport::GetDisplayModes(const std::string& sGuid) {
  const std::vector<DisplayMode> modes = provider_.Modes(sGuid);
  out_.AddItem(" Display Modes");
  for (std::size_t i = 0; i < modes.size(); ++i) {
    const DisplayMode& mode = modes[i];
    out_.AddItem("  Index          " + FormatNumber(static_cast<double>(i + 1)));
    out_.AddItem("  Width          " + FormatNumber(mode.width));
    out_.AddItem("  Height         " + FormatNumber(mode.height));
    if (mode.bitsPerPixel) {
      out_.AddItem("  Bits Per Pixel " + FormatNumber(*mode.bitsPerPixel));
    }
    out_.AddItem("  Refresh Rate   " + FormatNumber(mode.refreshRate));
    out_.AddItem("");
  }
}

std::vector<std::string> BuildReport(Provider& provider) {
  LineCollector lines;
  SystemReport(provider, lines).GetDisplayCards();
  return std::move(lines.lines);
}

}  // namespace kovrin::sysinfo
