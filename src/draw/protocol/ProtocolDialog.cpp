// The survey protocol dialog's values and their way into the worksheet.
#include "draw/protocol/ProtocolDialog.h"

#include <algorithm>

namespace hp::draw {

ProtocolOptions ProtocolOptionsOf(const doc::Worksheet& ws) {
  ProtocolOptions o;
  o.sections = {ws.protocolCadastre() != 0,
                ws.protocolCaves() != 0,
                ws.protocolDocumentDescription() != 0,
                ws.protocolWorksheetDescription() != 0,
                ws.protocolEvaluation() != 0,
                ws.protocolLegList() != 0,
                ws.protocolMaterialList() != 0,
                ws.protocolMeasuresList() != 0};
  o.numbering = std::clamp(ws.protocolNumbering(), 0, 3);
  o.legInfo = std::clamp(ws.protocolLegInfo(), 0, 7);
  o.materialInfo = std::clamp(ws.protocolMaterialInfo(), 0, 2);
  o.measuresInfo = std::clamp(ws.protocolMeasuresInfo(), 0, 4);
  return o;
}

bool ApplyProtocolOptions(doc::Worksheet& ws, const ProtocolOptions& o) {
  const ProtocolOptions before{
      {ws.protocolCadastre() != 0, ws.protocolCaves() != 0, ws.protocolDocumentDescription() != 0,
       ws.protocolWorksheetDescription() != 0, ws.protocolEvaluation() != 0, ws.protocolLegList() != 0,
       ws.protocolMaterialList() != 0, ws.protocolMeasuresList() != 0},
      ws.protocolNumbering(),
      ws.protocolLegInfo(),
      ws.protocolMaterialInfo(),
      ws.protocolMeasuresInfo()};
  const ProtocolOptions after{o.sections, std::clamp(o.numbering, 0, 3), std::clamp(o.legInfo, 0, 7),
                              std::clamp(o.materialInfo, 0, 2), std::clamp(o.measuresInfo, 0, 4)};
  if (before == after) return false;
  const auto& s = after.sections;
  ws.setProtocolCadastre(s[0] ? 1 : 0);
  ws.setProtocolCaves(s[1] ? 1 : 0);
  ws.setProtocolDocumentDescription(s[2] ? 1 : 0);
  ws.setProtocolWorksheetDescription(s[3] ? 1 : 0);
  ws.setProtocolEvaluation(s[4] ? 1 : 0);
  ws.setProtocolLegList(s[5] ? 1 : 0);
  ws.setProtocolMaterialList(s[6] ? 1 : 0);
  ws.setProtocolMeasuresList(s[7] ? 1 : 0);
  ws.setProtocolNumbering(after.numbering);
  ws.setProtocolLegInfo(after.legInfo);
  ws.setProtocolMaterialInfo(after.materialInfo);
  ws.setProtocolMeasuresInfo(after.measuresInfo);
  return true;
}

}  // namespace hp::draw
