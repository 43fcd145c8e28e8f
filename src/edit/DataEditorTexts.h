// The texts of the survey data editor and its two option dialogs (UTF-8):
// captions, status texts, messages, button and field labels.
#pragma once

#include <array>
#include <string_view>

namespace hp::edit::texts {

inline constexpr std::string_view kCaption = "Vermessungsdaten bearbeiten";
inline constexpr std::string_view kNewCaption = "Datensatz anlegen";
inline constexpr std::string_view kSearchCaption = "Datensatz suchen";

// Status ("Status" above the form).
inline constexpr std::string_view kViewing = "Datensatz ansehen";
inline constexpr std::string_view kChanging = "Datensatz \u00e4ndern";
inline constexpr std::string_view kCreating = "Datensatz neu anlegen";
inline constexpr std::string_view kSearching = "Datensatz suchen";
inline constexpr std::string_view kNoRecords = "Keine Datens\u00e4tze vorhanden";
inline constexpr std::string_view kFromInclude = "Include-Datei";

// Messages.
inline constexpr std::string_view kReallyDelete = "Datensatz wirklich l\u00f6schen?";
inline constexpr std::string_view kNotFound = "Kein Datensatz gefunden.";
inline constexpr std::string_view kNoMoreFound = "Kein weiterer Datensatz gefunden.";
inline constexpr std::string_view kStationNotFound = "Kein Messpunkt gefunden.";
inline constexpr std::string_view kNoMoreStations = "Kein weiterer Messpunkt gefunden.";
inline constexpr std::string_view kCannotOpen = " kann nicht ge\u00f6ffnet werden.";

// "Datensatz anlegen".
inline constexpr std::array<std::string_view, 6> kPlacements = {"&vor dem aktuellen Datensatz",
                                                                "&nach dem aktuellen Datensatz",
                                                                "&danach mit Vorbelegung",
                                                                "&danach mit gleicher &Referenz",
                                                                "am &Ende",
                                                                "am Ende &mit Vorbelegung"};
inline constexpr std::string_view kAutoNew = "&automatisches Neuanlegen";

// "Datensatz suchen".
inline constexpr std::array<std::string_view, 4> kDirections = {
    "vom &Beginn vorw\u00e4rts", "vom aktuellen Datensatz &vorw\u00e4rts",
    "vom aktuellen Datensatz &r\u00fcckw\u00e4rts", "vom &Ende r\u00fcckw\u00e4rts"};
inline constexpr std::string_view kAutoSearch = "&automatisches Weitersuchen";

// File choosers of "Datei/URL" and "Include-Datei".
inline constexpr std::string_view kChooseFile = "Datei ausw\u00e4hlen";
inline constexpr std::string_view kChooseFileFilter = "Alle Dateien (*.*)|*.*|";
inline constexpr std::string_view kChooseInclude = "Include-Datei ausw\u00e4hlen";
inline constexpr std::string_view kChooseIncludeFilter = "Hollowplan-Dokument (*.hpn)|*.hpn|";

// Program settings, section "Settings".
inline constexpr std::string_view kSection = "Settings";
inline constexpr std::string_view kPlacementValue = "ModusNeu";
inline constexpr std::string_view kDirectionValue = "ModusSuchen";
inline constexpr std::string_view kAutoNewValue = "AutoNeu";
inline constexpr std::string_view kAutoSearchValue = "AutoSuchen";
inline constexpr std::string_view kSmallDisplayValue = "SmallDisplay";

}  // namespace hp::edit::texts
