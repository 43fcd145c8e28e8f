// Every setting a worksheet image holds: offset, type and the default of a
// new worksheet. The drawing, printing, protocol and animation code give the
// settings their meaning; the offsets and the defaults of settings that older
// versions added agree with the conversions the document reader applies
// (a conversion that writes a constant at an offset tells that setting's
// default). Bytes that no setting uses are kept as read.
//
// Unused ranges: 0-1, 64-67, 84-99, 116-123, 140-155, 924-1179, 1489,
// 2598-2605, 2622-2629 (60-63 hold the loop-quality colour mode's mark,
// Worksheet.h).
#pragma once

// X(accessor, Accessor, type, offset, default)
#define HP_WORKSHEET_NUMBER_FIELDS(X)                                                       \
  X(gridCrosses, GridCrosses, int16_t, 2, 1)                                                \
  X(axisLabels, AxisLabels, int16_t, 4, 1)                                                  \
  X(stationNumbering, StationNumbering, int16_t, 6, 1) /* 0 to 10 */                        \
  X(stationMark, StationMark, int16_t, 8, 1)           /* 0 none, 1 line, 2 circle */       \
  X(scaleDenominator, ScaleDenominator, double, 10, 1000.0)                                 \
  X(zoomPercent, ZoomPercent, double, 18, 100.0)                                            \
  X(displayTypeCode, DisplayTypeCode, int16_t, 26, 0) /* the codec's number */              \
  X(legacyViewAzimuth, LegacyViewAzimuth, int16_t, 28, 0)                                   \
  X(legacyViewInclination, LegacyViewInclination, int16_t, 30, 0)                           \
  X(marginLeft, MarginLeft, int16_t, 32, 20) /* millimetres */                              \
  X(marginRight, MarginRight, int16_t, 34, 20)                                              \
  X(marginTop, MarginTop, int16_t, 36, 20)                                                  \
  X(marginBottom, MarginBottom, int16_t, 38, 20)                                            \
  X(showSubSheets, ShowSubSheets, int16_t, 40, 0)                                           \
  X(manualGrid, ManualGrid, int16_t, 42, 0)                                                 \
  X(overviewLeft, OverviewLeft, double, 44, -1.0)                                           \
  X(overviewBottom, OverviewBottom, double, 52, -1.0)                                       \
  X(overviewRight, OverviewRight, double, 68, 1.0)                                          \
  X(overviewTop, OverviewTop, double, 76, 1.0)                                              \
  X(subSheetLeft, SubSheetLeft, double, 100, -1.0)                                          \
  X(subSheetBottom, SubSheetBottom, double, 108, -1.0)                                      \
  X(subSheetRight, SubSheetRight, double, 124, 1.0)                                         \
  X(subSheetTop, SubSheetTop, double, 132, 1.0)                                             \
  X(legacyPerspective, LegacyPerspective, int16_t, 1180, 100)                               \
  X(olderRotationStep, OlderRotationStep, int16_t, 1182, 0) /* before 10.01 */              \
  X(legacyStereoAngle, LegacyStereoAngle, int16_t, 1184, 3)                                 \
  X(stereoOffsetX, StereoOffsetX, int16_t, 1186, -25)                                       \
  X(stereoOffsetY, StereoOffsetY, int16_t, 1188, -2)                                        \
  X(automaticScale, AutomaticScale, int16_t, 1190, 0)                                       \
  X(currentSheetNumber, CurrentSheetNumber, int16_t, 1192, 1)                               \
  X(sheetRows, SheetRows, int16_t, 1194, 1)                                                 \
  X(sheetColumns, SheetColumns, int16_t, 1196, 1)                                           \
  X(showTitleAndPageLabel, ShowTitleAndPageLabel, int16_t, 1198, 1)                         \
  X(manualOverview, ManualOverview, int16_t, 1200, 0)                                       \
  X(previewPages, PreviewPages, int16_t, 1202, 1)                                           \
  X(legacyOverviewGridStep, LegacyOverviewGridStep, int16_t, 1204, 10)                      \
  X(legacySheetGridStep, LegacySheetGridStep, int16_t, 1206, 10)                            \
  X(originX, OriginX, double, 1506, 0.0)                                                    \
  X(originY, OriginY, double, 1514, 0.0)                                                    \
  X(originZ, OriginZ, double, 1522, 0.0)                                                    \
  X(adaptOverview, AdaptOverview, int16_t, 1530, 0)                                         \
  X(showFrame, ShowFrame, int16_t, 1614, 1)                                                 \
  X(manualPages, ManualPages, int16_t, 1616, 0)                                             \
  X(descriptionOverridesNumbering, DescriptionOverridesNumbering, int16_t, 1618, 1)         \
  X(originCave, OriginCave, int32_t, 1620, 0)                                               \
  X(originPassage, OriginPassage, int32_t, 1624, 0)                                         \
  X(legacyOriginPointNumber, LegacyOriginPointNumber, int32_t, 1628, 0)                     \
  X(landscape, Landscape, int16_t, 1632, 0)                                                 \
  X(subSheetDivision, SubSheetDivision, int16_t, 1634, 1)                                   \
  X(lineColourMode, LineColourMode, int32_t, 1668, 1) /* 0 to 12 */                         \
  X(manualColourRange, ManualColourRange, int32_t, 1672, 0)                                 \
  X(colourRangeMax, ColourRangeMax, double, 1676, 0.0)                                      \
  X(colourRangeMin, ColourRangeMin, double, 1684, 0.0)                                      \
  X(blackBackground, BlackBackground, int32_t, 1692, 0)                                     \
  X(viewAzimuth, ViewAzimuth, double, 1696, 10.0) /* degrees */                             \
  X(viewInclination, ViewInclination, double, 1704, -25.0)                                  \
  X(viewDistance, ViewDistance, double, 1712, 0.0) /* metres */                             \
  X(viewCentreX, ViewCentreX, double, 1720, 0.0)                                            \
  X(viewCentreY, ViewCentreY, double, 1728, 0.0)                                            \
  X(viewCentreZ, ViewCentreZ, double, 1736, 0.0)                                            \
  X(legacyRotationStep, LegacyRotationStep, double, 1744, 5.0)                              \
  X(legacyViewValue, LegacyViewValue, double, 1752, 10.0)                                   \
  X(positionSize, PositionSize, uint32_t, 1760, 0)                   /* 52 when written */  \
  X(positionCount, PositionCount, uint32_t, 1764, 0)                 /* set when written */ \
  X(currentPositionNumber, CurrentPositionNumber, uint32_t, 1768, 0) /* from 1 */           \
  X(endlessAnimation, EndlessAnimation, uint32_t, 1772, 0)                                  \
  X(picturesPerPosition, PicturesPerPosition, int32_t, 1780, 50)                            \
  X(pointsInLegColour, PointsInLegColour, int32_t, 1784, 1)                                 \
  X(northArrow, NorthArrow, int32_t, 1802, 1)                                               \
  X(northArrowSize, NorthArrowSize, int32_t, 1806, 0) /* 0 automatic */                     \
  X(heightLabels, HeightLabels, int32_t, 2392, 1)                                           \
  X(heightLabelStep, HeightLabelStep, int32_t, 2396, 0) /* 0 automatic */                   \
  X(protocolCadastre, ProtocolCadastre, int32_t, 2400, 1)                                   \
  X(protocolCaves, ProtocolCaves, int32_t, 2404, 1)                                         \
  X(protocolDocumentDescription, ProtocolDocumentDescription, int32_t, 2408, 1)             \
  X(protocolWorksheetDescription, ProtocolWorksheetDescription, int32_t, 2412, 1)           \
  X(protocolEvaluation, ProtocolEvaluation, int32_t, 2416, 1)                               \
  X(protocolLegList, ProtocolLegList, int32_t, 2420, 1)                                     \
  X(protocolNumbering, ProtocolNumbering, int32_t, 2424, 0)                                 \
  X(protocolCurrentPage, ProtocolCurrentPage, int32_t, 2428, 1)                             \
  X(protocolPageCount, ProtocolPageCount, int32_t, 2432, 1)                                 \
  X(protocolLegInfo, ProtocolLegInfo, int32_t, 2436, 0)                                     \
  X(overviewGridStep, OverviewGridStep, int32_t, 2440, 10) /* metres */                     \
  X(sheetGridStep, SheetGridStep, int32_t, 2444, 10)                                        \
  X(backgroundMap, BackgroundMap, int32_t, 2448, 0)                                         \
  X(mapLeft, MapLeft, double, 2582, 0.0)                                                    \
  X(mapBottom, MapBottom, double, 2590, 0.0)                                                \
  X(mapRight, MapRight, double, 2606, 0.0)                                                  \
  X(mapTop, MapTop, double, 2614, 0.0)                                                      \
  X(lineWidth, LineWidth, int32_t, 2630, 1) /* 1 to 10 */                                   \
  X(crosshair, Crosshair, int32_t, 2634, 0)                                                 \
  X(mapKeepSize, MapKeepSize, int32_t, 2638, 1)                                             \
  X(mapKeepProportions, MapKeepProportions, int32_t, 2642, 1)                               \
  X(protocolMaterialList, ProtocolMaterialList, int32_t, 2646, 1)                           \
  X(protocolMaterialInfo, ProtocolMaterialInfo, int32_t, 2650, 0)                           \
  X(protocolMeasuresList, ProtocolMeasuresList, int32_t, 2654, 1)                           \
  X(protocolMeasuresInfo, ProtocolMeasuresInfo, int32_t, 2658, 0)                           \
  X(reserved2662, Reserved2662, int32_t, 2662, 0)                                           \
  X(reserved2666, Reserved2666, int32_t, 2666, 0)                                           \
  X(fileSymbol, FileSymbol, int32_t, 2670, 1)                                               \
  X(markCoordinateReferences, MarkCoordinateReferences, int32_t, 2674, 0)                   \
  X(printSubSheets, PrintSubSheets, int32_t, 2678, 0)                                       \
  X(reserved2682, Reserved2682, int32_t, 2682, 0)                                           \
  X(reserved2686, Reserved2686, int32_t, 2686, 0)                                           \
  X(filterCriterion, FilterCriterion, int32_t, 2690, 0) /* 0 to 5 */                        \
  X(centreOnPage, CentreOnPage, int32_t, 2822, 1)                                           \
  X(manualSubSheets, ManualSubSheets, int32_t, 2826, 0)                                     \
  X(labelAngleIndex, LabelAngleIndex, int32_t, 2830, 0) /* 0 to 6 */                        \
  X(passageMarking, PassageMarking, int32_t, 2834, 0)                                       \
  X(showAuxiliaryLines, ShowAuxiliaryLines, int32_t, 2838, 0)                               \
  X(showCrossSections, ShowCrossSections, int32_t, 2842, 0)                                 \
  X(crossSectionsInStandardColour, CrossSectionsInStandardColour, int32_t, 2846, 1)

// X(accessor, Accessor, offset, size, default text)
#define HP_WORKSHEET_TEXT_FIELDS(X)                                     \
  X(title, Title, 156, 256, "")   /* empty: the document's title */     \
  X(title2, Title2, 412, 256, "") /* empty: the document's title2 */    \
  X(pageLabel, PageLabel, 668, 256, "<Seitenbezeichnung>")              \
  X(lineFilterPattern, LineFilterPattern, 1208, 81, "")                 \
  X(sheetDesignation, SheetDesignation, 1532, 82, "<Blattbezeichnung>") \
  X(originPoint, OriginPoint, 1788, 14, "0")                            \
  X(worksheetDescription, WorksheetDescription, 1810, 501, "")          \
  X(labelFilterPattern, LabelFilterPattern, 2311, 81, "")               \
  X(backgroundMapFile, BackgroundMapFile, 2452, 130, "")

// X(accessor, Accessor, offset, size): areas that start zeroed
#define HP_WORKSHEET_BYTE_FIELDS(X)                     \
  X(legacyFonts, LegacyFonts, 1289, 200)                \
  X(legacyFontColours, LegacyFontColours, 1490, 16)     \
  X(legacyPrintAreaBits, LegacyPrintAreaBits, 1636, 32) \
  X(positionListSlot, PositionListSlot, 1776, 4)        \
  X(printAreaBits, PrintAreaBits, 2694, 128) /* bit n-1 for sheet n */
