<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Kel</name>
    <message>
        <source>Back</source>
        <translation>Rück</translation>
    </message>
    <message>
        <source>CE</source>
        <translation>CE</translation>
    </message>
    <message>
        <source>C</source>
        <translation>C</translation>
    </message>
    <message>
        <source>MC</source>
        <translation>MC</translation>
    </message>
    <message>
        <source>sqrt</source>
        <translation>sqrt</translation>
    </message>
    <message>
        <source>MR</source>
        <translation>MR</translation>
    </message>
    <message>
        <source>MS</source>
        <translation>MS</translation>
    </message>
    <message>
        <source>M+</source>
        <translation>M+</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>FEHLER</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Rechner</translation>
    </message>
    <message>
        <source>Calculator display</source>
        <translation>Rechneranzeige</translation>
    </message>
    <message>
        <source>Popup calculator</source>
        <translation>Aufklapprechner</translation>
    </message>
    <message>
        <source>Button panel</source>
        <translation>Schaltflächenleiste</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Retry</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Ignore</source>
        <translation>&amp;Ignorieren</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>&amp;Heute</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keines</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message>
        <source>Tim&amp;e:</source>
        <translation>&amp;Uhrzeit:</translation>
    </message>
    <message>
        <source>Popup</source>
        <translation>Aufklappfenster</translation>
    </message>
    <message>
        <source>Text editor</source>
        <translation>Texteingabe</translation>
    </message>
    <message>
        <source>Choice list</source>
        <translation>Auswahlliste</translation>
    </message>
    <message>
        <source>Lookup list</source>
        <translation>Nachschlageliste</translation>
    </message>
    <message>
        <source>True</source>
        <translation>Wahr</translation>
    </message>
    <message>
        <source>False</source>
        <translation>Falsch</translation>
    </message>
    <message>
        <source>Can&apos;t insert duplicate item</source>
        <translation>Ein doppelter Eintrag kann nicht eingefügt werden</translation>
    </message>
    <message>
        <source>You can not activate filter with empty filter condition.</source>
        <translation>Ein Filter ohne Filterbedingung kann nicht aktiviert werden.</translation>
    </message>
    <message>
        <source>There are no records that match the search criteria.</source>
        <translation>Es gibt keine Datensätze, die den Suchkriterien entsprechen.</translation>
    </message>
    <message>
        <source>The end of the table is reached and no matching records were found.</source>
        <translation>Das Ende der Tabelle ist erreicht, ohne dass passende Datensätze gefunden wurden.</translation>
    </message>
    <message>
        <source>The begin of the table is reached and no matching record were found.</source>
        <translation>Der Anfang der Tabelle ist erreicht, ohne dass ein passender Datensatz gefunden wurde.</translation>
    </message>
    <message>
        <source> Do you want to continue search from the begining of the table?</source>
        <translation> Möchten Sie die Suche am Anfang der Tabelle fortsetzen?</translation>
    </message>
    <message>
        <source> Do you want to continue search from the end of the table?</source>
        <translation> Möchten Sie die Suche am Ende der Tabelle fortsetzen?</translation>
    </message>
    <message>
        <source>Bad filter.</source>
        <translation>Ungültiger Filter.</translation>
    </message>
    <message>
        <source>Data source selection</source>
        <translation>Datenquelle auswählen</translation>
    </message>
    <message>
        <source>1. Select or enter alias</source>
        <translation>1. Alias auswählen oder eingeben</translation>
    </message>
    <message>
        <source>2. Select or enter table name</source>
        <translation>2. Tabellennamen auswählen oder eingeben</translation>
    </message>
    <message>
        <source>3. Select  name of visible field.</source>
        <translation>3. Namen des angezeigten Felds auswählen.</translation>
    </message>
    <message>
        <source>Enter full path to the database</source>
        <translation>Vollständigen Pfad zur Datenbank eingeben</translation>
    </message>
    <message>
        <source>and</source>
        <translation>und</translation>
    </message>
    <message>
        <source>or</source>
        <translation>oder</translation>
    </message>
    <message>
        <source>&lt;Click here to add condition&gt;</source>
        <translation>&lt;Hier klicken, um eine Bedingung hinzuzufügen&gt;</translation>
    </message>
    <message>
        <source>contains</source>
        <translation>enthält</translation>
    </message>
    <message>
        <source>begins with</source>
        <translation>beginnt mit</translation>
    </message>
    <message>
        <source>ends with</source>
        <translation>endet mit</translation>
    </message>
    <message>
        <source>is (exactly)</source>
        <translation>ist (genau)</translation>
    </message>
    <message>
        <source>doesn&apos;t contain</source>
        <translation>enthält nicht</translation>
    </message>
    <message>
        <source>is empty</source>
        <translation>ist leer</translation>
    </message>
    <message>
        <source>is not empty</source>
        <translation>ist nicht leer</translation>
    </message>
    <message>
        <source>more than</source>
        <translation>größer als</translation>
    </message>
    <message>
        <source>less than</source>
        <translation>kleiner als</translation>
    </message>
    <message>
        <source>at least</source>
        <translation>mindestens</translation>
    </message>
    <message>
        <source>at most</source>
        <translation>höchstens</translation>
    </message>
    <message>
        <source>is ~blank or empty~</source>
        <translation>ist ~leer oder ohne Text~</translation>
    </message>
    <message>
        <source>after</source>
        <translation>nach</translation>
    </message>
    <message>
        <source>before</source>
        <translation>vor</translation>
    </message>
    <message>
        <source>between</source>
        <translation>zwischen</translation>
    </message>
    <message>
        <source>is ~yesterday~</source>
        <translation>ist ~gestern~</translation>
    </message>
    <message>
        <source>is ~today~</source>
        <translation>ist ~heute~</translation>
    </message>
    <message>
        <source>is ~tomorrow~</source>
        <translation>ist ~morgen~</translation>
    </message>
    <message>
        <source>is in the ~last 7 days~</source>
        <translation>liegt in den ~letzten 7 Tagen~</translation>
    </message>
    <message>
        <source>is in the ~next 7 days~</source>
        <translation>liegt in den ~nächsten 7 Tagen~</translation>
    </message>
    <message>
        <source>is on the ~last week~</source>
        <translation>liegt in der ~letzten Woche~</translation>
    </message>
    <message>
        <source>is on ~this week~</source>
        <translation>liegt in ~dieser Woche~</translation>
    </message>
    <message>
        <source>is on the ~next week~</source>
        <translation>liegt in der ~nächsten Woche~</translation>
    </message>
    <message>
        <source>is in ~last month~</source>
        <translation>liegt im ~letzten Monat~</translation>
    </message>
    <message>
        <source>is in ~this month~</source>
        <translation>liegt in ~diesem Monat~</translation>
    </message>
    <message>
        <source>is in the ~next month~</source>
        <translation>liegt im ~nächsten Monat~</translation>
    </message>
    <message>
        <source>is ~on~</source>
        <translation>ist ~am~</translation>
    </message>
    <message>
        <source>is ~on or after~</source>
        <translation>ist ~am oder nach~</translation>
    </message>
    <message>
        <source>is ~on or before~</source>
        <translation>ist ~am oder vor~</translation>
    </message>
    <message>
        <source>equals</source>
        <translation>gleich</translation>
    </message>
    <message>
        <source>not equal to</source>
        <translation>ungleich</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Zahl</translation>
    </message>
    <message>
        <source>Boolean</source>
        <translation>Wahrheitswert</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>:Field :Template :Value1 and :Value2</source>
        <translation>:Field :Template :Value1 und :Value2</translation>
    </message>
    <message>
        <source>Can&apos;t delete this memory slot</source>
        <translation>Dieser Speicherplatz kann nicht gelöscht werden</translation>
    </message>
    <message>
        <source>&lt;Click here to add item&gt;</source>
        <translation>&lt;Hier klicken, um einen Eintrag hinzuzufügen&gt;</translation>
    </message>
    <message>
        <source>Filters</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Indent</source>
        <translation>E&amp;inrücken</translation>
    </message>
    <message>
        <source>O&amp;utdent</source>
        <translation>A&amp;usrücken</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>Alle &amp;entfernen</translation>
    </message>
    <message>
        <source>Sa&amp;ve to Memory...</source>
        <translation>Im Speicher a&amp;blegen...</translation>
    </message>
    <message>
        <source>&amp;Load from Memory...</source>
        <translation>Aus dem Speicher la&amp;den...</translation>
    </message>
    <message>
        <source>untitled</source>
        <translation>unbenannt</translation>
    </message>
    <message>
        <source>You can not save to this memory slot</source>
        <translation>In diesem Speicherplatz kann nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Number field</source>
        <translation>Zahlenfeld</translation>
    </message>
    <message>
        <source>Open the calculator</source>
        <translation>Rechner öffnen</translation>
    </message>
    <message>
        <source>Date field</source>
        <translation>Datumsfeld</translation>
    </message>
    <message>
        <source>Open the calendar</source>
        <translation>Kalender öffnen</translation>
    </message>
    <message>
        <source>backspace</source>
        <translation>Rücktaste</translation>
    </message>
    <message>
        <source>clear entry</source>
        <translation>Eingabe löschen</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>löschen</translation>
    </message>
    <message>
        <source>memory clear</source>
        <translation>Speicher löschen</translation>
    </message>
    <message>
        <source>divide</source>
        <translation>geteilt durch</translation>
    </message>
    <message>
        <source>square root</source>
        <translation>Quadratwurzel</translation>
    </message>
    <message>
        <source>memory recall</source>
        <translation>Speicher abrufen</translation>
    </message>
    <message>
        <source>multiply</source>
        <translation>mal</translation>
    </message>
    <message>
        <source>percent</source>
        <translation>Prozent</translation>
    </message>
    <message>
        <source>memory store</source>
        <translation>in Speicher ablegen</translation>
    </message>
    <message>
        <source>minus</source>
        <translation>minus</translation>
    </message>
    <message>
        <source>reciprocal</source>
        <translation>Kehrwert</translation>
    </message>
    <message>
        <source>memory add</source>
        <translation>zum Speicher addieren</translation>
    </message>
    <message>
        <source>change sign</source>
        <translation>Vorzeichen wechseln</translation>
    </message>
    <message>
        <source>decimal separator</source>
        <translation>Dezimaltrennzeichen</translation>
    </message>
    <message>
        <source>plus</source>
        <translation>plus</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Vorheriger Monat</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>Choose another month</source>
        <translation>Anderen Monat wählen</translation>
    </message>
    <message>
        <source>today</source>
        <translation>heute</translation>
    </message>
    <message>
        <source>other month</source>
        <translation>anderer Monat</translation>
    </message>
    <message>
        <source>week %1</source>
        <translation>Woche %1</translation>
    </message>
    <message>
        <source>Popup calendar</source>
        <translation>Aufklappkalender</translation>
    </message>
    <message>
        <source>Month list</source>
        <translation>Monatsliste</translation>
    </message>
    <message>
        <source>Chosen date</source>
        <translation>Gewähltes Datum</translation>
    </message>
    <message>
        <source>Indent level %1</source>
        <translation>Einrückungsebene %1</translation>
    </message>
    <message>
        <source>field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>operation</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>connector</source>
        <translation>Verknüpfung</translation>
    </message>
    <message>
        <source>value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>An unknown error occurred.</source>
        <translation>Ein unbekannter Fehler ist aufgetreten.</translation>
    </message>
</context>
</TS>
