#!/usr/bin/env python3
"""Writes the user guide pages from the texts below into a folder:
make_pages.py FOLDER. The build writes them into help/html beside the
program, and the installation takes them from there.

Each dialog of the program opens the page named after its caption; the
start page is index.htm.
"""
import html
import pathlib
import sys

HEAD = """<!DOCTYPE html>
<html lang="de">
<head>
<meta charset="utf-8">
<title>{title} – Hollowplan-Hilfe</title>
<link rel="stylesheet" href="hilfe.css">
</head>
<body>
<p class="nav"><a href="index.htm">Inhalt</a></p>
<h1>{title}</h1>
"""
TAIL = """<p class="nav"><a href="index.htm">Zurück zum Inhalt</a></p>
</body>
</html>
"""

def link(topic, text=None):
    return '<a href="{}.htm">{}</a>'.format(html.escape(topic, quote=True), html.escape(text or topic))

PAGES = {}

PAGES["Vermessungsdaten bearbeiten"] = f"""
<p>Hier geben Sie die Messzüge Ihrer Vermessung ein, blättern durch die Datensätze, suchen, ändern und löschen sie.
Sie öffnen das Fenster mit <b>Daten &gt; Bearbeiten</b> (Strg+B).</p>
<h2>Ein Datensatz</h2>
<ul>
<li><b>Referenzpunkt</b> ist der Messpunkt, von dem aus gemessen wird, <b>Messpunkt</b> der angemessene Punkt. Jeder Punkt
hat eine Höhlennummer, eine Gangnummer und einen Punktnamen (höchstens 12 Zeichen).</li>
<li><b>Messlinie</b>: Länge in Metern, Azimut und Neigung in der Winkeleinheit des gewählten Geräts. Mit einem
Distanzmesser tragen Sie Start und Ende ein.</li>
<li><b>Querschnitt</b>: Abstände zur Wand links, rechts, oben und unten.</li>
<li><b>Info</b>: Farbe, Ebene, Datum (TT.MM.JJJJ), Vermesser, Bezeichnung, Material, Maßnahmen und Bemerkung.</li>
<li><b>Referenzkoordinaten</b> tragen Sie nur bei einer Koordinatenreferenz ein (Referenzpunkt gleich Messpunkt).</li>
</ul>
<p>Ungültige Eingaben – etwa eine Länge über 10&nbsp;000&nbsp;km, ein Winkel außerhalb des Bereichs des Geräts oder ein
Datum, das es nicht gibt – werden beim Speichern abgelehnt; das Feld wird markiert.</p>
<h2>Blättern</h2>
<p>&lt;&lt; und &gt;&gt; springen zum ersten und letzten Datensatz, &lt; und &gt; einen weiter. H&lt; und &gt;H springen
über eine Höhle, G&lt; und &gt;G über einen Gang, P&lt; und &gt;P zum nächsten Datensatz mit Punktnamen. „Ref“ zeigt den
Datensatz, der den Referenzpunkt festlegt.</p>
<h2>Neu, Speichern, Löschen</h2>
<p>„Neu“ legt einen Datensatz an; wohin, fragt {link("Datensatz anlegen")}. Mit Vorbelegung wird der nächste Punktname
hochgezählt (A9 wird A10). „Speichern“ prüft und berechnet den Datensatz sofort; ein widersprüchlicher Messzug fällt so
gleich auf. Beim Schließen wird die ganze Vermessung neu berechnet.</p>
<p>Weitere Knöpfe: {link("Datensatz suchen", "Suchen")}, {link("Messdatenrechner", "Umrechnen")},
{link("Messpunktabstand", "Abstand")}, {link("Koordinaten")}, {link("Vermessungsdaten Übersicht", "Übersicht")} und
{link("Ringschlussauswertung", "Ringschluss")}.</p>
"""

PAGES["Datensatz anlegen"] = """
<p>Legt fest, wo ein neuer Datensatz eingefügt wird: vor oder nach dem aktuellen Datensatz oder am Ende, wahlweise mit
Vorbelegung. Mit Vorbelegung wird der Messpunkt des aktuellen Datensatzes zum neuen Referenzpunkt, der Punktname wird
hochgezählt und Gerät, Farbe, Ebene, Vermesser, Ring und Datum werden übernommen. „danach mit gleicher Referenz“ behält
den Referenzpunkt – praktisch für mehrere Messungen vom selben Standpunkt.</p>
<p>Mit „automatisches Neuanlegen“ beginnt nach jedem Speichern gleich der nächste Datensatz; so tragen Sie ein ganzes
Messbuch hintereinander ein.</p>
"""

PAGES["Datensatz suchen"] = """
<p>Nach „Suchen“ im Dateneditor füllen Sie nur die Felder aus, nach denen gesucht werden soll, und starten mit
„Suchstart“. Hier wählen Sie die Richtung: vom Beginn vorwärts, vom aktuellen Datensatz vorwärts oder rückwärts, oder vom
Ende rückwärts. „Weiter“ setzt die Suche fort.</p>
<p>Zahlen werden mit den Suchtoleranzen aus {link} verglichen, Texte wie Material oder Bemerkung werden als Teil
gefunden, ohne auf Groß- und Kleinschreibung zu achten („lehm“ findet „Lehm, Sand“).</p>
""".replace("{link}", link("Optionen Daten"))

PAGES["Vermessungsdaten Übersicht"] = """
<p>Die Übersicht zeigt alle Datensätze als Tabelle, links nach Höhlen und Gängen geordnet. Ein Doppelklick auf eine Zeile
öffnet den Datensatz im Dateneditor. Die Spaltenbreiten passen sich dem Inhalt an; ziehen Sie die Spaltenköpfe, um sie
zu ändern.</p>
"""

PAGES["Messdatenrechner"] = """
<p>Der Messdatenrechner rechnet Messungen um, bevor sie in den Datensatz übernommen werden: etwa Schrägstrecke und
Höhenunterschied in Länge und Neigung, oder Werte eines anderen Geräts. Mit OK übernimmt der Dateneditor das Ergebnis in
den Datensatz, den Sie dann wie gewohnt speichern.</p>
"""

PAGES["Messpunktabstand"] = """
<p>Zeigt Abstand und Richtung vom markierten Messpunkt (ohne Markierung vom Referenzpunkt des aktuellen Datensatzes)
zum Messpunkt des aktuellen Datensatzes nach der letzten Berechnung: die Unterschiede in X, Y und Z, die waagerechte
und die räumliche Länge sowie Azimut und Neigung in den Einheiten des Geräts. So prüfen Sie zum Beispiel, wie weit zwei
Gänge auseinander liegen. Einen Punkt markieren Sie im Dateneditor mit „Markieren“.</p>
"""

PAGES["Koordinaten"] = """
<p>Rechnet die Koordinaten des Messpunkts zwischen UTM (Ostwert X, Nordwert Y, Zone 1 bis 60 und Zonenbuchstabe) und
geografischen Koordinaten (Breite und Länge in Grad, WGS84) um. Ändern Sie eine Seite, wird die andere beim Verlassen
des Feldes neu berechnet.</p>
<p>„Google Earth Koordinaten einfügen“ übernimmt einen in Google Earth kopierten Ortsmarker aus der Zwischenablage. Mit OK
werden die UTM-Werte als Koordinaten und Referenzkoordinaten in den Datensatz übernommen – so legen Sie einen
Höhleneingang als Koordinatenreferenz fest.</p>
<p>„Auf Hollowplan Karte positionieren“ schließt den Dialog wie OK und den Editor; ein Klick in Grundriss, Längsschnitt
oder Aufriss setzt dann den Messpunkt dorthin (im Grundriss X und Y, sonst die Höhe).</p>
"""

PAGES["Datenauswertung"] = """
<p>Fasst die berechnete Vermessung zusammen, einmal für die im Arbeitsblatt sichtbaren und einmal für alle Messzüge:
Anzahl der Messzüge, Gesamtlänge und horizontale Länge (aus den berechneten Koordinaten), Gesamttiefe, horizontale
Ausdehnung (größter waagerechter Abstand zweier Punkte), höchster und tiefster Messpunkt und der längste Weg zum
Ursprung.</p>
<p>Höhen werden auf den Bezugspunkt des Arbeitsblatts bezogen. Hilfspunkte und Verbindungen zählen nicht als Messzug,
gehen aber in Höhen und Ausdehnung ein.</p>
"""

PAGES["Ringschlussauswertung"] = """
<p>Ein Ring entsteht, wenn ein Messzug auf einen schon vermessenen Punkt zurückführt. Markieren Sie den schließenden
Messzug im Feld „Ring“ mit einer Nummer. Die Auswertung zeigt je Ring die Zahl der Messzüge, die Länge, den
Schlussfehler absolut und in Prozent sowie seine Anteile in X, Y und Z.</p>
<p>Ein großer Fehler weist auf einen Ablese- oder Schreibfehler hin. Wie der Fehler verteilt wird, stellen Sie unter
{link} ein. Ein Doppelklick auf eine Zeile öffnet den Ringschluss im Dateneditor.</p>
<p>Das Ringsymbol ist grün, wenn der Schlussfehler („Delta“) höchstens so groß ist wie die Suchtoleranz für Längen und
Koordinaten unter {link}, sonst rot.</p>
<p>Ist unter {link} der <b>Ausgleich im Netz</b> gewählt, zeigt die erste Seite statt der Ringe jede unabhängige
Schleife des Messnetzes, mit oder ohne Ringnummer, mit der Zahl der Messzüge, der Länge, dem Schlussfehler und seinen
Anteilen sowie dem Schlussfehler im Verhältnis zur erwarteten Messgenauigkeit („Normiert“). Das Symbol ist dann rot,
wenn dieser Wert über 3,37 liegt.</p>
<h2>Fehlersuche</h2>
<p>Die zweite Seite „Fehlersuche“ prüft jede unabhängige Schleife des Messnetzes, auch solche, die über Verbindungen
oder zwischen zwei Koordinatenreferenzen geschlossen werden. Für jede Schleife steht der Schlussfehler im Verhältnis zur
erwarteten Messgenauigkeit („Normiert“); über 3,37 gilt sie als verdächtig. Die erwartete Genauigkeit einer Band-,
Kompass- und Neigungsablesung stellen Sie oben auf der Seite ein (Vorgabe 0,05 m und 1°) und wählen „Suchen“.</p>
<p>Die Tabelle der verdächtigen Messwerte nennt zuerst die Korrekturen, die nacheinander die verdächtigen Schleifen
schließen, dann andere Messzüge, die die Schleifen fast ebenso gut erklären. „Vermutet“ ist der Wert der Ablesung
(Länge, Azimut oder Neigung in den Einheiten des Geräts), der die Schleifen am besten schließt; „Richtung“ bedeutet
einen verkehrt herum eingetragenen Messzug. Ein Doppelklick öffnet den Messzug im Dateneditor.</p>
<p>„Zeigen“ hebt in der Zeichnung den gewählten Ring oder die gewählte Schleife der ersten Seite hervor, auf der Seite
„Fehlersuche“ den gewählten verdächtigen Messzug, und rollt ihn ins Fenster.</p>
<p>„gleichwertig“ unter „Hinweis“ heißt: ein anderer Messwert der Liste erklärt die Schleifen ebenso gut (welcher, steht im
Hinweis, der erscheint, wenn der Mauszeiger darauf ruht). Das kommt vor, wenn ein Messzug nur in einer Schleife liegt; prüfen Sie dann alle gleichwertigen Messzüge,
bevor Sie einen korrigieren.</p>
""".replace("{link}", link("Optionen Daten"))

PAGES["Dokument"] = """
<p>Titel, Katasterbezeichnung und -nummer, die UTM-Zone mit Zonenbuchstaben (für die Umrechnung in geografische
Koordinaten und die Exporte nach Google Earth und GPS), die Meridiankonvergenz und eine Beschreibung der Höhle. Nach OK
wird die Vermessung neu berechnet.</p>
"""

PAGES["Optionen Daten"] = """
<p><b>Ringschlussausgleich</b>: kein Ausgleich, linearer Ausgleich oder linearer Ausgleich unter Beibehaltung der
Senkrechten. Der Ausgleich verteilt den Schlussfehler eines Rings auf seine Messzüge.
<b>Ausgleich im Netz (kleinste Quadrate)</b> gleicht alle Schleifen der Vermessung zugleich aus, auch ohne
Ringnummern; jeder Messzug zählt nach der Genauigkeit seiner Messwerte (die beiden Genauigkeiten der Fehlersuche)
und der Aufstellung an seinen Messpunkten (0,05 m). Messzüge aus Survex-Daten zählen nach den Genauigkeiten, die die
Datei angibt (*sd), kartesisch gemessene nach ihren Koordinatenanteilen, mehrfach gemessene als Mittel.
Ein Netz, das sich nicht ausgleichen lässt, wird mit einer Meldung genannt.</p>
<p><b>Grenzwinkel</b> steuern, wann Querschnitte senkrecht oder am spitzen Winkel gezeichnet werden.</p>
<p><b>Suchtoleranzen</b> gelten für die Suche im Dateneditor: wie weit Längen und Koordinaten beziehungsweise Winkel vom
gesuchten Wert abweichen dürfen.</p>
"""

PAGES["Ebenen"] = """
<p>Die Namen der Ebenen, eine Zeile je Ebene in der Form <code>Nummer: Name</code> mit einer Nummer von 0 bis 8,
zum Beispiel <code>2: Obere Etage</code>. Im Dateneditor wählen Sie für jeden Datensatz eine Ebene 1 bis 8; über die
Ebenen blenden Sie Teile der Höhle im Arbeitsblatt ein oder aus. Zeilen in anderer Form werden nicht übernommen: OK
nennt dann die Zeile, damit kein Name verloren geht.</p>
"""

PAGES["Vermesser"] = """
<p>Die Namen der Vermesser, eine Zeile je Person in der Form <code>Nummer: Name</code> mit einer Nummer von 0 bis 8,
zum Beispiel <code>1: Anna Berger</code>. Im Dateneditor wählen Sie für jeden Datensatz einen Vermesser 1 bis 8.
Zeilen in anderer Form werden nicht übernommen: OK nennt dann die Zeile, damit kein Name verloren geht.</p>
"""

PAGES["Schriftarten"] = """
<p>Schriften für Titel, Seitenbezeichnung, Achsenbeschriftung, Punktbeschriftung und das Vermessungsprotokoll. Ein Klick
auf den Knopf einer Zeile öffnet die Schriftauswahl.</p>
"""

PAGES["Farben"] = """
<p>Die Farben der Linien und Falschfarben, des Hintergrunds, der Messpunkte, der Querschnitte und Hilfslinien, des
Rahmens sowie die beiden Farben der Rot-Grün-Darstellung. Ein Klick auf einen Knopf öffnet die Farbauswahl.</p>
"""

PAGES["Geräte"] = """
<p>Bis zu 16 Messgeräte mit ihren Korrekturen: Teiler eines Distanzmessers, Durchhang von Faden oder Maßband,
Winkeleinheit (Grad oder Gon) für Azimut und Neigung, Nullrichtung der Neigung, Deklination mit Bezugsjahr und jährlicher
Änderung. Die Deklination wird nach dem Datum jedes Datensatzes angepasst. Nach OK wird die Vermessung neu berechnet.</p>
"""

PAGES["Darstellung"] = """
<p>Wählt, wie das Arbeitsblatt die Höhle zeigt: Grundriss, Längsschnitt, Aufriss, Parallel- oder Perspektivprojektion,
3D-Darstellung (Rot-Grün), Animation oder Vermessungsprotokoll, dazu Maßstab, Beschriftung und Querschnitte.</p>
<p>Die Blickrichtung der Projektionen ändern Sie mit den Pfeilen der Symbolleiste „Blickrichtung“.</p>
"""

PAGES["Vermessungsprotokoll"] = """
<p>Die Darstellung „Vermessungsprotokoll“ zeigt die Vermessung als Tabelle, eine Seite nach der anderen. Dieser Dialog
(<b>Ansicht &gt; Vermessungsprotokoll</b>, Strg+K) legt fest, welche Abschnitte es enthält: Kataster, Höhlen,
Dokument- und Arbeitsblatt-Beschreibung, Datenauswertung sowie die Listen der Messlinien, des Materials und der
Maßnahmen. Aufgeführt werden nur Messzüge mit Farbe und Punktname, die der Filter des Arbeitsblatts zeigt.</p>
<p><b>Punktnummerierung</b> wählt, wie Messpunkte geschrieben werden (Höhle/Gang/Punkt, Höhle/Punkt, Gang/Punkt oder
nur Punkt). Die <b>Zusatzinfo</b>-Felder hängen an die Listen eine weitere Spalte an, etwa Bezeichnung, Datum,
Referenzkoordinaten, Querschnitte oder die Tiefe bezogen auf den Bezugspunkt.</p>
<p>Mit Pos1 und Ende, Bild auf und Bild ab, den Pfeiltasten oder dem Mausrad blättern Sie durch die Seiten; die
Statuszeile zeigt Seite und Seitenzahl. Zahlen stehen mit Dezimalkomma; in die Zwischenablage kommt das ganze
Protokoll als Text mit Tabulatoren, bereit zum Einfügen in eine Tabellenkalkulation.</p>
"""

PAGES["Messzüge"] = """
<p>Legt fest, wie das Arbeitsblatt Messzüge und Messpunkte zeichnet: Linienfarben und Falschfarbenbereich, Linienbreite,
Punktmarken und Punktbeschriftung, Querschnitte, Hilfslinien und Hervorhebungen.</p>
<p>Die Linienfarbe <b>Ringschlussfehler</b> färbt jeden Messzug nach der schlechtesten Schleife des Messnetzes, in der er
liegt, gemessen am Schlussfehler im Verhältnis zur erwarteten Messgenauigkeit (wie „Normiert“ der Fehlersuche): bis 1
grün, bis 2 gelb, bis 3,37 orange, darüber rot. Messzüge in keiner Schleife erscheinen in der Rahmenfarbe. Eine Legende
in der linken unteren Ecke nennt die vier Stufen, auch im Druck und in Bildern. Mit „Messpunkt-Info“ zeigt die
Statuszeile für einen Messzug den normierten Fehler, den Schlussfehler in Metern und die Länge dieser Schleife. Die Werte
gelten für die letzte Berechnung.</p>
"""

PAGES["Arbeitsblatt"] = """
<p>Was die Zeichnung um die Höhle herum zeigt: Titelzeilen, Seitenbezeichnung, Rahmen, Achsenbeschriftung,
Gitterkreuze, Einteilung in Unterblätter für den Druck, Nordpfeil und Höhenangaben.</p>
"""

for kind, text in [
    ("auswählen", "Wählt das Arbeitsblatt, das angezeigt wird. Schneller geht es über die Liste in der Symbolleiste."),
    ("neuanlegen", "Legt ein neues Arbeitsblatt mit den Grundeinstellungen an. Geben Sie ihm einen Namen und wählen "
                   "Sie, vor welchem Arbeitsblatt es eingefügt wird."),
    ("kopieren", "Kopiert das aktuelle Arbeitsblatt mit allen Einstellungen und Animationspositionen – etwa um dieselbe "
                 "Höhle in einem anderen Maßstab zu drucken."),
    ("verschieben", "Ändert die Reihenfolge: das aktuelle Arbeitsblatt wird vor das gewählte gestellt."),
    ("umbenennen", "Gibt dem aktuellen Arbeitsblatt einen neuen Namen."),
]:
    PAGES["Arbeitsblatt " + kind] = f"""
<p>{html.escape(text)}</p>
<p>Ein Arbeitsblatt ist eine gespeicherte Ansicht der Vermessung: Darstellung, Blickrichtung, Maßstab, Filter und
Druckeinstellungen. Ein Dokument kann beliebig viele Arbeitsblätter haben. Der Name darf nicht leer sein.</p>
"""

PAGES["Seite einrichten"] = """
<p>Legt fest, wie das Arbeitsblatt gedruckt wird (<b>Datei &gt; Seite einrichten</b>, Strg+E). Die Einstellungen gehören
zum Arbeitsblatt und werden mit dem Dokument gespeichert.</p>
<ul>
<li><b>Maßstab</b>: aus der Liste wählen oder eintippen, als „1:500“ oder als Zahl, von 1:10 bis 1:10000000. „Maßstab
anpassen“ wählt ihn so, dass die Zeichnung auf die Seite passt; das geht nur in den Darstellungen mit Maßstab.</li>
<li><b>Übersicht</b> druckt die ganze Übersicht auf eine Seite, <b>Teilblätter</b> jedes Teilblatt auf eine eigene
Seite; die Einteilung legen Sie unter {link} fest.</li>
<li><b>Ränder</b> in ganzen Millimetern von 0 bis 1000, <b>Hochformat</b> oder <b>Querformat</b> und „Auf der Seite
zentriert drucken“.</li>
</ul>
<p>„Grafik zentrieren“ setzt die Ränder so, dass die Zeichnung in der Mitte der Seite steht; ist sie größer als die
Seite, sagt es eine Meldung, und die Ränder bleiben. „Rücksetzen“ stellt die Werte eines neuen Arbeitsblatts ein,
„Übernehmen“ zeigt das Ergebnis, ohne den Dialog zu schließen.</p>
""".replace("{link}", link("Teilblätter"))

PAGES["Teilblätter"] = """
<p>Teilt die Zeichnung eines Grundrisses, Längsschnitts oder Aufrisses für den Druck in Teilblätter ein
(<b>Arbeitsblatt &gt; Teilblätter</b>, Strg+T). Ohne Häkchen ermittelt das Programm alles selbst.</p>
<ul>
<li><b>Übersicht manuell</b> und <b>Teilblätter manuell</b>: die Rechtecke der Übersicht und eines Teilblatts in Metern
(links, unten, rechts, oben).</li>
<li><b>Seiten manuell</b>: die Zahl der Zeilen und Spalten, je 1 bis 100.</li>
<li><b>Raster manuell</b>: der Abstand der Gitterkreuze in der Übersicht und auf den Teilblättern, in ganzen Metern.</li>
<li><b>Karte</b>: eine Bitmap-Datei als Hintergrundkarte mit ihren Rändern in Metern. „Größe erhalten“ und
„Proportionen erhalten“ bestimmen, wie die Ränder einer neu gewählten Karte angepasst werden.</li>
</ul>
<p>Wie die Seiten gedruckt werden, stellen Sie unter {link} ein.</p>
""".replace("{link}", link("Seite einrichten"))

PAGES["Daten exportieren"] = """
<p><b>Daten &gt; Exportieren</b> schreibt die Vermessung in eine Datei. Im Dialog „Daten exportieren“ wählen Sie Ordner,
Namen und Format; die Endung des Namens bestimmt das Format. Das Programm merkt sich Ordner und Format für das nächste
Mal. Formate: Bitmap (das Bild der Ansicht), Hollowplan-Dokument, DXF, GPX, Hollowview, Google Earth (KML), Overlay,
PocketTopo/VisualTopo, Tabelle, VRML und Survex.</p>
<p>Bei manchen Formaten fragt danach ein Dialog nach Einzelheiten:</p>
<ul>
<li><b>DXF-Format</b>: Standard-DXF oder „CAD für Höhlen“.</li>
<li><b>Dateien</b> (Hollowplan-Dokument) und <b>Tabellenformat</b>: ob die Datensätze der Include-Dateien mit in die
Datei kommen.</li>
<li><b>GPX-Format</b>: nur der aktuelle Messpunkt oder alle beschrifteten Messpunkte als Wegpunkte, Umlaute entfernen
und das Wegpunktsymbol.</li>
<li><b>Google Earth</b>: Höhleneingänge, Punkte als Höhleneingänge, Punktbezeichnung und Punktnummerierung. Dieselben
Einstellungen gelten für <b>Export nach Google Earth</b> (Strg+G), das die Datei gleich öffnet.</li>
<li><b>VRML-Format</b>: der Gangdurchmesser für Messzüge ohne Querschnitte, die Zahl der Flächen und die Form der
Gangkörper.</li>
</ul>
<p>Geografische Formate brauchen die UTM-Zone des {link}.</p>
""".replace("{link}", link("Dokument", "Dokuments"))

PAGES["Datenimport Tabellenformat"] = """
<p>Beim Import einer Textdatei (Tabelle oder PocketTopo-Export) wählen Sie, ob die Daten des Dokuments ersetzt oder die
importierten Datensätze angehängt werden.</p>
<p><b>Tabellen</b> sind tabulatorgetrennte Textdateien, deren erste Zeile die Spalten benennt (etwa „Punkt“, „Länge“,
„Azimut“, „Neigung“); Dezimalkomma ist erlaubt. So übernehmen Sie Daten aus einer Tabellenkalkulation. Als CSV mit
Semikolon oder Komma gespeicherte Tabellen werden ebenso gelesen, auch mit den Zeilenenden älterer Mac-Programme und mit
Feldern in Anführungszeichen. Die Datei darf in Windows-1252, UTF-8 oder UTF-16 (mit Byte-Order-Mark) gespeichert
sein; Zeichen, die Windows-1252 nicht kennt, werden zu „?“, und würden dadurch zwei Messpunktnamen gleich, fragt das
Programm vor dem Import. Steuerzeichen in Texten werden zu Leerzeichen.</p>
<p>Eine Tabelle, die keinen Datensatz ergibt oder deren erste Zeile keine bekannte Spalte nennt, wird nicht importiert;
die Daten des Dokuments bleiben dann unverändert. Was beim Import übergangen oder geändert wurde (unbekannte Spalten,
abgelehnte Zeilen, ersetzte Zeichen), nennt eine Meldung.</p>
<p><b>PocketTopo</b>: Exportieren Sie in PocketTopo die Vermessung als Text. Wiederholte Messungen eines Messzugs werden
gemittelt, Rückmessungen umgedreht, Seitenmessungen werden Hilfslinien.</p>
<p>Nach dem Import werden die Include-Dateien aktualisiert und die Vermessung berechnet.</p>
"""

PAGES["Datenimport Hollowplan-Format"] = """
<p>Beim Import eines Hollowplan-Dokuments wählen Sie, was übernommen wird: das gesamte Dokument, nur Schriftarten und
Farben, nur die Geräte oder nur Titel und Beschreibung. So übertragen Sie etwa die Geräteeinstellungen einer Expedition
in ein neues Dokument.</p>
"""

PAGES["Optionen Animation"] = """
<p><b>Pause nach jedem Bild</b>: so viele Millisekunden (0 bis 1000) wartet das Programm nach jedem Bild einer Animation
und nach jedem Schritt der Drehung, die nach dem Ziehen mit der Maus weiterläuft. Eine kleinere Pause ergibt einen
schnelleren Flug; wie viele Bilder zwischen zwei Positionen liegen, stellen Sie in der Symbolleiste <b>Animation</b>
ein.</p>
"""

PAGES["index"] = f"""
<p>Hollowplan verwaltet die Messdaten einer Höhlenvermessung, berechnet die Koordinaten aller Messpunkte und zeichnet
daraus Grundriss, Längsschnitt, Aufriss und räumliche Ansichten.</p>
<h2>Daten eingeben</h2>
<p>Öffnen Sie mit <b>Daten &gt; Bearbeiten</b> (Strg+B) den {link("Vermessungsdaten bearbeiten", "Dateneditor")}. Der
erste Datensatz ist eine Koordinatenreferenz: Referenzpunkt und Messpunkt sind gleich, die Koordinaten tragen Sie unter
Referenzkoordinaten ein (oder über {link("Koordinaten")} aus einer Karte). Jeder weitere Datensatz ist ein Messzug vom
Referenzpunkt zum Messpunkt. Die {link("Vermessungsdaten Übersicht", "Übersicht")} (Strg+U) zeigt alle Datensätze als
Tabelle.</p>
<h2>Berechnen</h2>
<p><b>Daten &gt; Berechnen</b> (Strg+R) berechnet alle Messpunkte mit den Korrekturen der {link("Geräte")}. Fehlt ein
Referenzpunkt oder ist ein Messzug doppelt, nennt eine Meldung den Datensatz; Sie können ihn dann gleich im Editor
öffnen. Die {link("Datenauswertung")} fasst Längen, Tiefe und Ausdehnung zusammen; das
{link("Vermessungsprotokoll")} listet die Vermessung seitenweise als Tabelle.</p>
<h2>Rückgängig und Wiederholen</h2>
<p><b>Daten &gt; Rückgängig</b> (Alt+Rücktaste) nimmt die letzte Änderung der Daten zurück, <b>Daten &gt;
Wiederholen</b> (Strg+Y) führt sie wieder aus; das Menü nennt den Schritt, etwa „Datensatz 27 ändern“ oder „Import
Beispieltour.txt“. Zurückgenommen werden gespeicherte, neue und gelöschte Datensätze, Importe, „Laden aus Excel“, das
Aktualisieren der Include-Dateien und die Einstellungen der Menüs Dokument und Arbeitsblatt, viele Schritte weit.
Die berechneten Koordinaten folgen den Daten. Speichern behält die Schritte; wer bis zum gespeicherten Stand
zurückgeht, hat ein unverändertes Dokument. <b>Arbeitsblatt &gt; Wiederherstellen</b> (Strg+Z) bleibt, was es ist: es
verwirft nur die Änderungen an der Ansicht des Arbeitsblatts.</p>
<h2>Ringschlüsse</h2>
<p>Markieren Sie Messzüge, die einen Ring schließen, mit einer Ringnummer. Die {link("Ringschlussauswertung")} zeigt die
Schlussfehler; der Ausgleich wird unter {link("Optionen Daten")} eingestellt.</p>
<h2>Ansichten</h2>
<p>Jedes {link("Arbeitsblatt auswählen", "Arbeitsblatt")} ist eine eigene Ansicht mit {link("Darstellung")},
Blickrichtung, Maßstab und Filter der {link("Messzüge")}. Arbeitsblätter lassen sich
{link("Arbeitsblatt neuanlegen", "neu anlegen")}, {link("Arbeitsblatt kopieren", "kopieren")},
{link("Arbeitsblatt verschieben", "verschieben")} und {link("Arbeitsblatt umbenennen", "umbenennen")}.
Gedruckt wird im gewählten Maßstab, auf Wunsch über mehrere Seiten; Rahmen, Titel und Unterblätter stellen Sie unter
{link("Arbeitsblatt")} ein, Maßstab, Ränder und Format unter {link("Seite einrichten")} und die Einteilung unter
{link("Teilblätter")}.</p>
<h2>Animation</h2>
<p>In der Darstellung <b>Animation</b> speichern Sie Blickpunkte als Positionen (<b>Animation &gt; Position
einfügen</b>, Strg+Umschalt+E) und lassen die Ansicht mit <b>Animation starten</b> (Strg+Umschalt+A) durch sie fliegen,
einmal oder als Endlos-Animation. Eine Taste, ein Mausklick oder das Mausrad beenden den Flug. Ziehen Sie die Ansicht mit
der linken Maustaste, dreht sie sich nach dem Loslassen weiter. Die Pause zwischen den Bildern stellen Sie unter
{link("Optionen Animation")} ein.</p>
<h2>Mit der Maus</h2>
<p>Was ein Klick in die Zeichnung bewirkt, wählen Sie im Kontextmenü (rechte Maustaste) oder mit Strg+1 bis Strg+7:
<b>Daten bearbeiten</b> öffnet den Editor am nächsten Messpunkt, <b>Messpunkt-Info</b> zeigt ihn in der Statuszeile,
<b>Abstandsmarkierung</b> markiert einen Messpunkt und misst beim nächsten Klick Abstand, horizontale und senkrechte
Entfernung. Ein Messpunkt wird gefunden, wenn er höchstens 5 Pixel vom Klick entfernt liegt; ein Doppelklick öffnet
immer den Editor. Mit <b>Übersicht festlegen</b> ziehen Sie einen Rahmen als neue Übersicht auf, mit
<b>Teilblätter auswählen</b> und <b>Druckbereich auswählen</b> wählen Sie Teilblätter per Klick. Das Mausrad zoomt um
den Mauszeiger (bei 100 % rastet es ein), mit gedrückter rechter Taste verschieben Sie die Zeichnung. In den räumlichen
Ansichten dreht Ziehen mit der linken Taste die Blickrichtung; in der Animation verschiebt die rechte Taste den
Mittelpunkt, beide Tasten ändern den Abstand. Pos1 und Ende, Bild auf und Bild ab sowie Strg und die Pfeiltasten
blättern durch die Teilblätter.</p>
<h2>Importieren</h2>
<p><b>Daten &gt; Importieren</b> liest Tabellen, PocketTopo-Exporte ({link("Datenimport Tabellenformat")}) und andere
Hollowplan-Dokumente ({link("Datenimport Hollowplan-Format")}). Include-Dateien binden weitere Dokumente ein; sie werden
mit Strg+I aktualisiert.</p>
<h2>Exportieren</h2>
<p>{link("Daten exportieren", "Daten > Exportieren")} schreibt die Vermessung als Bild, Tabelle, DXF, KML, GPX, VRML
und in weitere Formate.</p>
<h2>Dokument</h2>
<p>{link("Dokument")}, {link("Schriftarten")}, {link("Farben")}, {link("Ebenen")} und {link("Vermesser")} stellen Sie im
Menü <b>Dokument</b> ein.</p>
"""

CSS = """body { font-family: sans-serif; max-width: 46em; margin: 1em auto; padding: 0 1em; line-height: 1.45; }
h1 { font-size: 1.5em; border-bottom: 1px solid #888; }
h2 { font-size: 1.15em; margin-top: 1.4em; }
.nav { font-size: 0.9em; }
code { background: #eee; padding: 0 0.2em; }
"""

def pages():
    """The guide's files by name, as bytes."""
    files = {"hilfe.css": CSS.encode("utf-8")}
    for topic, body in PAGES.items():
        title = "Hollowplan-Hilfe" if topic == "index" else topic
        page = HEAD.format(title=html.escape(title)) + body.strip() + "\n" + TAIL
        files[topic + ".htm"] = page.encode("utf-8")
    return files


def main(arguments):
    if len(arguments) != 1:
        print("Aufruf: make_pages.py ORDNER", file=sys.stderr)
        return 2
    folder = pathlib.Path(arguments[0])
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in pages().items():
        (folder / name).write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
