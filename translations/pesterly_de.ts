<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Application</name>
    <message>
        <source>Pesterly cannot start: it could not make its lock file in any of these places:
    %1

Without one it cannot tell whether another copy already runs on the same settings file, and two copies would overwrite each other&apos;s events. Free some space or make one of these folders writable for you, then start Pesterly again.</source>
        <translation>Pesterly kann nicht starten: Es konnte an keinem dieser Orte seine Sperrdatei anlegen:
    %1

Ohne sie kann es nicht erkennen, ob bereits eine andere Kopie mit derselben Einstellungsdatei läuft, und zwei Kopien würden gegenseitig ihre Ereignisse überschreiben. Geben Sie etwas Speicherplatz frei oder machen Sie einen dieser Ordner für sich beschreibbar und starten Sie Pesterly dann erneut.</translation>
    </message>
    <message>
        <source>Pesterly is already running; its window has been shown.</source>
        <translation>Pesterly läuft bereits; sein Fenster wurde angezeigt.</translation>
    </message>
    <message>
        <source>Pesterly is already running for this settings file, but it did not answer, so its window could not be shown.</source>
        <translation>Pesterly läuft bereits mit dieser Einstellungsdatei, hat aber nicht geantwortet; sein Fenster konnte daher nicht angezeigt werden.</translation>
    </message>
    <message>
        <source>Pesterly is already running for this settings file, but its local socket is held by a program of another user, so its window could not be shown. Look for its icon in the notification area.</source>
        <translation>Pesterly läuft bereits mit dieser Einstellungsdatei, aber sein lokaler Socket gehört einem Programm eines anderen Benutzers; sein Fenster konnte daher nicht angezeigt werden. Suchen Sie sein Symbol im Benachrichtigungsbereich.</translation>
    </message>
</context>
<context>
    <name>AutostartEntry</name>
    <message>
        <source>Pesterly could not remove %1, which starts it at login; remove it by hand to stop that.</source>
        <translation>Pesterly konnte %1 nicht entfernen, womit es bei der Anmeldung startet; entfernen Sie die Datei von Hand, um das zu beenden.</translation>
    </message>
    <message>
        <source>Pesterly could not create the folder %1 for the entry that starts it at login.</source>
        <translation>Pesterly konnte den Ordner %1 für den Eintrag nicht anlegen, mit dem es bei der Anmeldung startet.</translation>
    </message>
</context>
<context>
    <name>Calendar</name>
    <message>
        <source>it repeats more often than daily, or in no way Pesterly knows</source>
        <translation>es wiederholt sich öfter als täglich oder auf eine Weise, die Pesterly nicht kennt</translation>
    </message>
    <message>
        <source>it repeats every %1 periods</source>
        <translation>es wiederholt sich nur alle %1 Zeiträume</translation>
    </message>
    <message>
        <source>Pesterly cannot hold %1</source>
        <translation>Pesterly kann %1 nicht abbilden</translation>
    </message>
    <message>
        <source>it falls on several days of the week</source>
        <translation>es fällt auf mehrere Wochentage</translation>
    </message>
    <message>
        <source>it falls on certain weekdays only</source>
        <translation>es fällt nur auf bestimmte Wochentage</translation>
    </message>
    <message>
        <source>it falls in other months than its first date</source>
        <translation>es fällt in andere Monate als sein erstes Datum</translation>
    </message>
    <message>
        <source>it falls on other days than its first date</source>
        <translation>es fällt auf andere Tage als sein erstes Datum</translation>
    </message>
    <message>
        <source>it has no date</source>
        <translation>es hat kein Datum</translation>
    </message>
    <message>
        <source>its date lies outside the years 1 to 3000</source>
        <translation>sein Datum liegt außerhalb der Jahre 1 bis 3000</translation>
    </message>
    <message>
        <source>its last date is past</source>
        <translation>sein letzter Termin ist vorbei</translation>
    </message>
    <message>
        <source>it ended on %1</source>
        <translation>es endete am %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (%2): %3</source>
        <translation>„%1“ (%2): %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2</source>
        <translation>„%1“: %2</translation>
    </message>
    <message>
        <source>Pesterly cannot hold these events as they are, so they were left out:</source>
        <translation>Pesterly kann diese Ereignisse nicht so übernehmen, wie sie sind, daher wurden sie ausgelassen:</translation>
    </message>
    <message>
        <source>1 event that was over before today was left out.</source>
        <translation>1 Ereignis, das schon vor heute vorbei war, wurde ausgelassen.</translation>
    </message>
    <message>
        <source>%1 events that were over before today were left out.</source>
        <translation>%1 Ereignisse, die schon vor heute vorbei waren, wurden ausgelassen.</translation>
    </message>
    <message>
        <source>1 completed task was left out.</source>
        <translation>1 erledigte Aufgabe wurde ausgelassen.</translation>
    </message>
    <message>
        <source>%1 completed tasks were left out.</source>
        <translation>%1 erledigte Aufgaben wurden ausgelassen.</translation>
    </message>
    <message>
        <source>The event table is full (101 events), so 1 new event from the file were left out.</source>
        <translation>Die Ereignistabelle ist voll (101 Ereignisse), daher wurde 1 neues Ereignis aus der Datei ausgelassen.</translation>
    </message>
    <message>
        <source>The event table is full (101 events), so %1 new events from the file were left out.</source>
        <translation>Die Ereignistabelle ist voll (101 Ereignisse), daher wurden %1 neue Ereignisse aus der Datei ausgelassen.</translation>
    </message>
</context>
<context>
    <name>CalendarCommands</name>
    <message>
        <source>Export to Calendar</source>
        <translation>In Kalender exportieren</translation>
    </message>
    <message>
        <source>Import from Calendar</source>
        <translation>Aus Kalender importieren</translation>
    </message>
    <message>
        <source>%1
Nothing was imported.</source>
        <translation>%1
Es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>Keep Calendar File</source>
        <translation>Kalenderdatei aktuell halten</translation>
    </message>
</context>
<context>
    <name>CalendarFileKeeper</name>
    <message>
        <source>Pesterly could not keep the calendar file current. %1

Choose another file under File, Keep Calendar File.</source>
        <translation>Pesterly konnte die Kalenderdatei nicht aktuell halten. %1

Wählen Sie unter Datei, Kalenderdatei aktuell halten eine andere Datei.</translation>
    </message>
</context>
<context>
    <name>CalendarModule</name>
    <message>
        <source>Pesterly&apos;s calendar module (libpesterly-calendar.so) could not be loaded: %1. Reinstalling Pesterly should bring it back.</source>
        <translation>Das Kalendermodul von Pesterly (libpesterly-calendar.so) konnte nicht geladen werden: %1. Eine Neuinstallation von Pesterly sollte es wiederherstellen.</translation>
    </message>
    <message>
        <source>Pesterly cannot import %1. %2</source>
        <translation>Pesterly kann %1 nicht importieren. %2</translation>
    </message>
</context>
<context>
    <name>Ending</name>
    <message>
        <source>%1

Your events are still here. Pesterly stays open so that nothing is lost; close it again once the problem is solved.</source>
        <translation>%1

Ihre Ereignisse sind noch da. Pesterly bleibt geöffnet, damit nichts verloren geht; schließen Sie es erneut, sobald das Problem behoben ist.</translation>
    </message>
</context>
<context>
    <name>ExchangeCommands</name>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>There is nothing to export: select the events to export first.</source>
        <translation>Es gibt nichts zu exportieren: Wählen Sie zuerst die Ereignisse aus, die exportiert werden sollen.</translation>
    </message>
    <message>
        <source>Export Events</source>
        <translation>Ereignisse exportieren</translation>
    </message>
    <message>
        <source>Import Events</source>
        <translation>Ereignisse importieren</translation>
    </message>
    <message>
        <source>Pesterly imported nothing from %1, because the file is damaged:
%2</source>
        <translation>Pesterly hat nichts aus %1 importiert, weil die Datei beschädigt ist:
%2</translation>
    </message>
    <message>
        <source>The first line of %1 announces 1 event, and Pesterly read those. The rest of the file, from line %2 on, was ignored.</source>
        <translation>Die erste Zeile von %1 kündigt 1 Ereignis an, und Pesterly hat es gelesen. Der Rest der Datei ab Zeile %2 wurde übergangen.</translation>
    </message>
    <message>
        <source>The first line of %1 announces %2 events, and Pesterly read those. The rest of the file, from line %3 on, was ignored.</source>
        <translation>Die erste Zeile von %1 kündigt %2 Ereignisse an, und Pesterly hat sie gelesen. Der Rest der Datei ab Zeile %3 wurde übergangen.</translation>
    </message>
    <message>
        <source>The event table is full (101 events), so 1 new event from the file was left out.</source>
        <translation>Die Ereignistabelle ist voll (101 Ereignisse), daher wurde 1 neues Ereignis aus der Datei ausgelassen.</translation>
    </message>
    <message>
        <source>The event table is full (101 events), so %1 new events from the file were left out.</source>
        <translation>Die Ereignistabelle ist voll (101 Ereignisse), daher wurden %1 neue Ereignisse aus der Datei ausgelassen.</translation>
    </message>
</context>
<context>
    <name>ExchangeFile</name>
    <message>
        <source>first field</source>
        <translation>das erste Feld</translation>
    </message>
    <message>
        <source>second field</source>
        <translation>das zweite Feld</translation>
    </message>
    <message>
        <source>third field</source>
        <translation>das dritte Feld</translation>
    </message>
    <message>
        <source>fourth field</source>
        <translation>das vierte Feld</translation>
    </message>
    <message>
        <source>fifth field</source>
        <translation>das fünfte Feld</translation>
    </message>
    <message>
        <source>sixth field</source>
        <translation>das sechste Feld</translation>
    </message>
    <message>
        <source>seventh field</source>
        <translation>das siebte Feld</translation>
    </message>
    <message>
        <source>eighth field</source>
        <translation>das achte Feld</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>the text that starts here has no closing double quote</source>
        <translation>dem Text, der hier beginnt, fehlt das schließende doppelte Anführungszeichen</translation>
    </message>
    <message>
        <source>the # that starts the %1 has no closing #</source>
        <translation>%1 beginnt mit #, aber das schließende # fehlt</translation>
    </message>
    <message>
        <source>there is more text after the %1, where a comma or the end of the line should be (a double quote inside a text is written twice)</source>
        <translation>nach %1 folgt weiterer Text, wo ein Komma oder das Zeilenende stehen sollte (ein doppeltes Anführungszeichen innerhalb eines Textes wird doppelt geschrieben)</translation>
    </message>
    <message>
        <source>there is more text after the %1, where a comma or the end of the line should be</source>
        <translation>nach %1 folgt weiterer Text, wo ein Komma oder das Zeilenende stehen sollte</translation>
    </message>
    <message>
        <source>the %1 should be a date such as #2001-03-14#, not #%2#</source>
        <translation>%1 sollte ein Datum wie #2001-03-14# sein, nicht #%2#</translation>
    </message>
    <message>
        <source>the %1 should be a date such as #2001-03-14#</source>
        <translation>%1 sollte ein Datum wie #2001-03-14# sein</translation>
    </message>
    <message>
        <source>the %1 should be a whole number from -32768 to 32767</source>
        <translation>%1 sollte eine ganze Zahl von -32768 bis 32767 sein</translation>
    </message>
    <message>
        <source>the %1 should be a text in double quotes</source>
        <translation>%1 sollte ein Text in doppelten Anführungszeichen sein</translation>
    </message>
    <message>
        <source>the %1 should be #TRUE# or #FALSE#</source>
        <translation>%1 sollte #TRUE# oder #FALSE# sein</translation>
    </message>
    <message>
        <source>the first line should be the number of events</source>
        <translation>die erste Zeile sollte die Zahl der Ereignisse sein</translation>
    </message>
    <message>
        <source>the file is empty: %1</source>
        <translation>die Datei ist leer: %1</translation>
    </message>
    <message>
        <source>number of events</source>
        <translation>die Zahl der Ereignisse</translation>
    </message>
    <message>
        <source>that many</source>
        <translation>so viele</translation>
    </message>
    <message>
        <source>the first line announces %1 events, but the number of events cannot be negative</source>
        <translation>die erste Zeile kündigt %1 Ereignisse an, aber die Zahl der Ereignisse kann nicht negativ sein</translation>
    </message>
    <message>
        <source>the first line announces %1 events, but a file holds at most %2</source>
        <translation>die erste Zeile kündigt %1 Ereignisse an, aber eine Datei enthält höchstens %2</translation>
    </message>
    <message>
        <source>the file ends after %1 of the 1 event it announces</source>
        <translation>die Datei endet nach %1 von dem 1 Ereignis, das sie ankündigt</translation>
    </message>
    <message>
        <source>the file ends after %1 of the %2 events it announces</source>
        <translation>die Datei endet nach %1 der %2 Ereignisse, die sie ankündigt</translation>
    </message>
</context>
<context>
    <name>GridCommands</name>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Email List?</source>
        <translation>Mahnmail?</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Wiederholung</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Special Email</source>
        <translation>Besondere Adresse</translation>
    </message>
    <message>
        <source>To Be Done</source>
        <translation>Zu erledigen</translation>
    </message>
    <message>
        <source>Pesterly keeps at most 101 events, and the table is full.

Delete an event you no longer need before adding a new one.</source>
        <translation>Pesterly verwaltet höchstens 101 Ereignisse, und die Tabelle ist voll.

Löschen Sie ein Ereignis, das Sie nicht mehr brauchen, bevor Sie ein neues hinzufügen.</translation>
    </message>
    <message>
        <source>I was too lazy to implement multiple event deletes</source>
        <translation>Mehrere Ereignisse auf einmal zu löschen, war mir zu aufwendig</translation>
    </message>
</context>
<context>
    <name>IniSettingsStore</name>
    <message>
        <source>Pesterly cannot read its settings file %1: %2.

So as not to write over events it could not read, Pesterly leaves that file alone. It has loaded %3 instead, where it kept an earlier session&apos;s changes when this happened before, and saves what you change to %3.

Once the settings file can be read again (if it now belongs to another user, for example after &quot;sudo pesterly&quot;, give it back with &quot;sudo chown&quot;), end Pesterly and copy over what you need from %3.</source>
        <translation>Pesterly kann seine Einstellungsdatei %1 nicht lesen: %2.

Damit keine Ereignisse überschrieben werden, die es nicht lesen konnte, lässt Pesterly diese Datei unverändert. Es hat stattdessen %3 geladen, wo es die Änderungen einer früheren Sitzung aufbewahrt hat, als dies schon einmal geschah, und speichert Ihre Änderungen in %3.

Sobald sich die Einstellungsdatei wieder lesen lässt (gehört sie jetzt einem anderen Benutzer, etwa nach „sudo pesterly“, geben Sie sie mit „sudo chown“ zurück), beenden Sie Pesterly und übernehmen Sie, was Sie brauchen, aus %3.</translation>
    </message>
    <message>
        <source>Pesterly cannot read its settings file %1: %2.

So as not to write over events it could not read, Pesterly leaves that file alone. It starts with an empty table and saves what you change to %3.

Once the settings file can be read again (if it now belongs to another user, for example after &quot;sudo pesterly&quot;, give it back with &quot;sudo chown&quot;), end Pesterly and copy over what you need from %3.</source>
        <translation>Pesterly kann seine Einstellungsdatei %1 nicht lesen: %2.

Damit keine Ereignisse überschrieben werden, die es nicht lesen konnte, lässt Pesterly diese Datei unverändert. Es beginnt mit einer leeren Tabelle und speichert Ihre Änderungen in %3.

Sobald sich die Einstellungsdatei wieder lesen lässt (gehört sie jetzt einem anderen Benutzer, etwa nach „sudo pesterly“, geben Sie sie mit „sudo chown“ zurück), beenden Sie Pesterly und übernehmen Sie, was Sie brauchen, aus %3.</translation>
    </message>
    <message>
        <source>The file as it was is kept as %1.</source>
        <translation>Die Datei in ihrem bisherigen Zustand ist als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>Pesterly could not keep a copy of the file as it was: %1.</source>
        <translation>Pesterly konnte keine Kopie der Datei in ihrem bisherigen Zustand aufbewahren: %1.</translation>
    </message>
    <message>
        <source>Line %1 of the settings file %2 could not be read (a line needs a name, &quot;=&quot; and a value; a section name needs its closing &quot;]&quot;). Pesterly has loaded everything else; what it could not read will be gone when it next saves. %3</source>
        <translation>Zeile %1 der Einstellungsdatei %2 konnte nicht gelesen werden (eine Zeile braucht einen Namen, „=“ und einen Wert; ein Abschnittsname braucht seine schließende „]“). Pesterly hat alles Übrige geladen; was es nicht lesen konnte, geht beim nächsten Speichern verloren. %3</translation>
    </message>
    <message>
        <source>Lines %1 of the settings file %2 could not be read (a line needs a name, &quot;=&quot; and a value; a section name needs its closing &quot;]&quot;). Pesterly has loaded everything else; what it could not read will be gone when it next saves. %3</source>
        <translation>Die Zeilen %1 der Einstellungsdatei %2 konnten nicht gelesen werden (eine Zeile braucht einen Namen, „=“ und einen Wert; ein Abschnittsname braucht seine schließende „]“). Pesterly hat alles Übrige geladen; was es nicht lesen konnte, geht beim nächsten Speichern verloren. %3</translation>
    </message>
    <message>
        <source>Pesterly could not create the folder %1 for its settings file %2.</source>
        <translation>Pesterly konnte den Ordner %1 für seine Einstellungsdatei %2 nicht anlegen.</translation>
    </message>
    <message>
        <source>Pesterly could not save its settings file %1. %2. Check that the disk is not full and that you may write there.</source>
        <translation>Pesterly konnte seine Einstellungsdatei %1 nicht speichern. %2. Prüfen Sie, ob der Datenträger voll ist und ob Sie dort schreiben dürfen.</translation>
    </message>
    <message>
        <source>When Pesterly was last ended by the desktop (at logout or by a signal) it could not save its settings file, so it kept your events in a rescue copy:%1

The events shown now are those of the settings file, which may be older. To go back to the rescued ones, end Pesterly and copy the rescue copy over %2.</source>
        <translation>Als der Desktop Pesterly zuletzt beendet hat (bei der Abmeldung oder durch ein Signal), konnte es seine Einstellungsdatei nicht speichern und hat Ihre Ereignisse daher in einer Rettungskopie aufbewahrt:%1

Die jetzt angezeigten Ereignisse sind die der Einstellungsdatei, die älter sein können. Um zu den geretteten zurückzukehren, beenden Sie Pesterly und kopieren Sie die Rettungskopie über %2.</translation>
    </message>
</context>
<context>
    <name>MailModule</name>
    <message>
        <source>Pesterly&apos;s mail module (libpesterly-mail.so) could not be loaded, so no mail can be sent: %1. Reinstalling Pesterly should bring it back.</source>
        <translation>Das Mailmodul von Pesterly (libpesterly-mail.so) konnte nicht geladen werden, daher kann keine Mail gesendet werden: %1. Eine Neuinstallation von Pesterly sollte es wiederherstellen.</translation>
    </message>
    <message>
        <source>The mail server settings (Options, Mail Server) cannot be used: %1</source>
        <translation>Die Mailserver-Einstellungen (Optionen, Mailserver) sind nicht verwendbar: %1</translation>
    </message>
</context>
<context>
    <name>MailServerSettings</name>
    <message>
        <source>Server: enter the host name of your mail server, such as mail.example.org.</source>
        <translation>Server: Geben Sie den Hostnamen Ihres Mailservers ein, etwa mail.example.org.</translation>
    </message>
    <message>
        <source>Server: &quot;%1&quot; is not a host name; a host name has no blanks, such as mail.example.org.</source>
        <translation>Server: „%1“ ist kein Hostname; ein Hostname enthält keine Leerzeichen, etwa mail.example.org.</translation>
    </message>
    <message>
        <source>Port: &quot;%1&quot; is not a port number; enter a number from 1 to 65535, or leave it empty for the usual port.</source>
        <translation>Port: „%1“ ist keine Portnummer; geben Sie eine Zahl von 1 bis 65535 ein oder lassen Sie das Feld für den üblichen Port leer.</translation>
    </message>
    <message>
        <source>Security: with a user name the connection must be encrypted, or the password would cross the network as plain text. Choose STARTTLS or TLS.</source>
        <translation>Sicherheit: Mit einem Benutzernamen muss die Verbindung verschlüsselt sein, sonst ginge das Passwort im Klartext über das Netz. Wählen Sie STARTTLS oder TLS.</translation>
    </message>
    <message>
        <source>Sender address: &quot;%1&quot; is not a mail address; enter one such as me@example.org (letters outside plain ASCII only after the @), or leave it empty for the automatic one.</source>
        <translation>Absenderadresse: „%1“ ist keine Mailadresse; geben Sie eine wie ich@example.org ein (Buchstaben außerhalb von ASCII nur nach dem @) oder lassen Sie das Feld für die automatische Adresse leer.</translation>
    </message>
</context>
<context>
    <name>NagMailDiary</name>
    <message>
        <source>Pesterly cannot read its record of the nag mails sent today (%1): %2.</source>
        <translation>Pesterly kann seine Aufzeichnung der heute gesendeten Mahnmails (%1) nicht lesen: %2.</translation>
    </message>
    <message>
        <source>Pesterly cannot note the nag mail in %1: %2</source>
        <translation>Pesterly kann die Mahnmail nicht in %1 vermerken: %2</translation>
    </message>
</context>
<context>
    <name>Review</name>
    <message>
        <source>Pesterly could not send the nag mail for &quot;%1&quot;.

%2</source>
        <translation>Pesterly konnte die Mahnmail für „%1“ nicht senden.

%2</translation>
    </message>
</context>
<context>
    <name>ReviewSchedule</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiteres</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RowFormat</name>
    <message>
        <source>Never asked about</source>
        <translation>Wird nie abgefragt</translation>
    </message>
    <message>
        <source>Next asked about: %1</source>
        <translation>Nächste Abfrage: %1</translation>
    </message>
    <message>
        <source>st</source>
        <comment>ordinal suffix of 1, 21 and 31, as in &quot;on the 1st&quot;</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>nd</source>
        <comment>ordinal suffix of 2 and 22</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>rd</source>
        <comment>ordinal suffix of 3 and 23</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>th</source>
        <comment>ordinal suffix of the other days</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>grid: the event sends mail</comment>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <comment>grid: no mail</comment>
        <translation>Nein</translation>
    </message>
    <message>
        <source>One Time </source>
        <comment>grid: the trailing blank belongs to the text</comment>
        <translation>Einmalig</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>%1 %2,%3</source>
        <comment>grid: month name, day, year, as in &quot;Mar 14,2001&quot;</comment>
        <translation>%2. %1 %3</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>grid: month name and day, as in &quot;Mar 14&quot;</comment>
        <translation>%2. %1</translation>
    </message>
    <message>
        <source>on the %1%2</source>
        <comment>grid: day and its ordinal suffix, as in &quot;on the 14th&quot;</comment>
        <translation>am %1%2</translation>
    </message>
</context>
<context>
    <name>SecretServiceKeyring</name>
    <message>
        <source>The desktop&apos;s keyring could not read the mail server&apos;s password: %1</source>
        <translation>Der Schlüsselbund des Desktops konnte das Passwort des Mailservers nicht lesen: %1</translation>
    </message>
    <message>
        <source>The desktop&apos;s keyring could not remove the mail server&apos;s password: %1</source>
        <translation>Der Schlüsselbund des Desktops konnte das Passwort des Mailservers nicht entfernen: %1</translation>
    </message>
    <message>
        <source>The desktop&apos;s keyring could not store the mail server&apos;s password: %1</source>
        <translation>Der Schlüsselbund des Desktops konnte das Passwort des Mailservers nicht speichern: %1</translation>
    </message>
    <message>
        <source>Pesterly&apos;s keyring module (libpesterly-keyring.so) could not be loaded, so the mail server&apos;s password cannot be read or stored: %1. Reinstalling Pesterly should bring it back.</source>
        <translation>Das Schlüsselbundmodul von Pesterly (libpesterly-keyring.so) konnte nicht geladen werden, daher lässt sich das Passwort des Mailservers weder lesen noch speichern: %1. Eine Neuinstallation von Pesterly sollte es wiederherstellen.</translation>
    </message>
</context>
<context>
    <name>SettingsLayout</name>
    <message>
        <source>The settings file counts %1 %2, but Pesterly holds at most %3: it has loaded the first %3.</source>
        <translation>Die Einstellungsdatei zählt %1 %2, aber Pesterly fasst höchstens %3: Es hat die ersten %3 geladen.</translation>
    </message>
    <message>
        <source>the first %1, as many as it holds.</source>
        <translation>die ersten %1, so viele, wie es fasst.</translation>
    </message>
    <message>
        <source>them all.</source>
        <translation>alle.</translation>
    </message>
    <message>
        <source>The settings file gives the number of %1 as &quot;%2&quot;, which Pesterly cannot read, so Pesterly has counted them itself: it found %3 and has loaded %4</source>
        <translation>Die Einstellungsdatei gibt die Zahl der %1 als „%2“ an, was Pesterly nicht lesen kann; Pesterly hat sie daher selbst gezählt: Es hat %3 gefunden und davon geladen: %4</translation>
    </message>
    <message>
        <source>The settings file does not say how many %1 it holds, so Pesterly has counted them itself: it found %2 and has loaded %3</source>
        <translation>Die Einstellungsdatei sagt nicht, wie viele %1 sie enthält; Pesterly hat sie daher selbst gezählt: Es hat %2 gefunden und davon geladen: %3</translation>
    </message>
    <message>
        <source>events</source>
        <translation>Ereignisse</translation>
    </message>
    <message>
        <source>categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>The file as it was is kept as %1.</source>
        <translation>Die Datei in ihrem bisherigen Zustand ist als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>Pesterly could not keep a copy of the file as it was: %1.</source>
        <translation>Pesterly konnte keine Kopie der Datei in ihrem bisherigen Zustand aufbewahren: %1.</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>Pesterly could not create the file %1: %2</source>
        <translation>Pesterly konnte die Datei %1 nicht anlegen: %2</translation>
    </message>
    <message>
        <source>Pesterly could not write the file %1: %2</source>
        <translation>Pesterly konnte die Datei %1 nicht schreiben: %2</translation>
    </message>
    <message>
        <source>Pesterly could not read the file %1: %2</source>
        <translation>Pesterly konnte die Datei %1 nicht lesen: %2</translation>
    </message>
    <message>
        <source>Pesterly wrote the file but could not make sure it reached the disk %1: %2</source>
        <translation>Pesterly hat die Datei geschrieben, konnte aber nicht sicherstellen, dass sie den Datenträger erreicht hat, %1: %2</translation>
    </message>
</context>
<context>
    <name>pesterly::AboutPesterlyForm</name>
    <message>
        <source>About Pesterly</source>
        <translation>Über Pesterly</translation>
    </message>
    <message>
        <source>Pesterly  %1 by the Pesterly developers</source>
        <translation>Pesterly  %1 von den Pesterly-Entwicklern</translation>
    </message>
    <message>
        <source>Any comments or bug reports can be sent to %1</source>
        <translation>Anmerkungen und Fehlerberichte senden Sie bitte an %1</translation>
    </message>
    <message>
        <source>Check out %1 for news and new versions.</source>
        <translation>Neuigkeiten und neue Versionen finden Sie unter %1.</translation>
    </message>
</context>
<context>
    <name>pesterly::AddCategoryForm</name>
    <message>
        <source>Add a Category</source>
        <translation>Kategorie hinzufügen</translation>
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
        <source>New category</source>
        <translation>Neue Kategorie</translation>
    </message>
</context>
<context>
    <name>pesterly::ChangeSaver</name>
    <message>
        <source>%1

Your changes are still here. Pesterly tries again at each change and when it ends, and stays open then if it still cannot save.</source>
        <translation>%1

Ihre Änderungen sind noch da. Pesterly versucht es bei jeder Änderung und beim Beenden erneut und bleibt dann geöffnet, falls es noch immer nicht speichern kann.</translation>
    </message>
</context>
<context>
    <name>pesterly::EditHappening</name>
    <message>
        <source>Edit Event</source>
        <translation>Ereignis bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Category</source>
        <translation>&amp;Kategorie</translation>
    </message>
    <message>
        <source>Add Category</source>
        <translation>Kategorie hinzufügen</translation>
    </message>
    <message>
        <source>Send Nag Mail?</source>
        <translation>Mahnmail senden?</translation>
    </message>
    <message>
        <source>EMail Options</source>
        <translation>Mail-Optionen</translation>
    </message>
    <message>
        <source>EMail Full NagList?</source>
        <translation>An die ganze Mahnliste?</translation>
    </message>
    <message>
        <source>Special &amp;Address</source>
        <translation>Besondere &amp;Adresse</translation>
    </message>
    <message>
        <source>Text for message &amp;body</source>
        <translation>&amp;Text der Nachricht</translation>
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
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>A one-time event is due on this day; a repeating event shows it in the grid</source>
        <translation>Ein einmaliges Ereignis ist an diesem Tag fällig; ein wiederkehrendes zeigt ihn in der Tabelle</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Wiederholung</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Special mail address</source>
        <translation>Besondere Mailadresse</translation>
    </message>
    <message>
        <source>The nag mail also goes to this address</source>
        <translation>Die Mahnmail geht auch an diese Adresse</translation>
    </message>
    <message>
        <source>Mail text</source>
        <translation>Mailtext</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
</context>
<context>
    <name>pesterly::FreedesktopNotifier</name>
    <message>
        <source>Answer</source>
        <translation>Antworten</translation>
    </message>
</context>
<context>
    <name>pesterly::HelpWindow</name>
    <message>
        <source>Pesterly Help</source>
        <translation>Pesterly-Hilfe</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Handbuch</translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vor</translation>
    </message>
</context>
<context>
    <name>pesterly::MailServerForm</name>
    <message>
        <source>Mail Server</source>
        <translation>Mailserver</translation>
    </message>
    <message>
        <source>Send Nag Mail Through</source>
        <translation>Mahnmails senden über</translation>
    </message>
    <message>
        <source>The system&apos;s sendmail program</source>
        <translation>Das sendmail-Programm des Systems</translation>
    </message>
    <message>
        <source>An SMTP server</source>
        <translation>Einen SMTP-Server</translation>
    </message>
    <message>
        <source>SMTP Server</source>
        <translation>SMTP-Server</translation>
    </message>
    <message>
        <source>Ser&amp;ver:</source>
        <translation>Ser&amp;ver:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>usual</source>
        <translation>üblich</translation>
    </message>
    <message>
        <source>Se&amp;curity:</source>
        <translation>&amp;Sicherheit:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message>
        <source>Sen&amp;der address:</source>
        <translation>Absen&amp;deradresse:</translation>
    </message>
    <message>
        <source>automatic</source>
        <translation>automatisch</translation>
    </message>
    <message>
        <source>Send Test Mail</source>
        <translation>Testmail senden</translation>
    </message>
    <message>
        <source>Nag Mails Waiting to Be Sent</source>
        <translation>Mahnmails, die auf den Versand warten</translation>
    </message>
    <message>
        <source>Retry Now</source>
        <translation>Jetzt erneut versuchen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
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
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Sender address</source>
        <translation>Absenderadresse</translation>
    </message>
    <message>
        <source>Empty for the usual port of the security chosen</source>
        <translation>Leer für den üblichen Port der gewählten Sicherheit</translation>
    </message>
    <message>
        <source>Empty for an address made of the user and host name; test mail goes here</source>
        <translation>Leer für eine Adresse aus Benutzer- und Hostnamen; die Testmail geht an diese Adresse</translation>
    </message>
    <message>
        <source>Test mail result</source>
        <translation>Ergebnis der Testmail</translation>
    </message>
    <message>
        <source>Waiting mails</source>
        <translation>Wartende Mails</translation>
    </message>
    <message>
        <source>Every waiting nag mail has been sent.</source>
        <translation>Alle wartenden Mahnmails wurden gesendet.</translation>
    </message>
    <message>
        <source>1 nag mail is still waiting; Pesterly tries again later.</source>
        <translation>1 Mahnmail wartet noch; Pesterly versucht es später erneut.</translation>
    </message>
    <message numerus="yes">
        <source>%n nag mails are still waiting; Pesterly tries again later.</source>
        <translation>
            <numerusform>%n Mahnmail wartet noch; Pesterly versucht es später erneut.</numerusform>
            <numerusform>%n Mahnmails warten noch; Pesterly versucht es später erneut.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (to %2, since %3)</source>
        <translation>%1 (an %2, seit %3)</translation>
    </message>
    <message>
        <source>Sending the waiting nag mails again...</source>
        <translation>Die wartenden Mahnmails werden erneut gesendet …</translation>
    </message>
    <message>
        <source>no keyring</source>
        <translation>kein Schlüsselbund</translation>
    </message>
    <message>
        <source>No keyring service runs in this desktop session, so Pesterly cannot keep a password. A login in ~/.netrc still works.</source>
        <translation>In dieser Desktop-Sitzung läuft kein Schlüsselbund-Dienst, daher kann Pesterly kein Passwort aufbewahren. Eine Anmeldung in ~/.netrc funktioniert weiterhin.</translation>
    </message>
    <message>
        <source>PESTERLY_MAIL_URL is set, so mail goes to the server it names whatever the settings here say.</source>
        <translation>PESTERLY_MAIL_URL ist gesetzt, daher geht die Mail an den dort genannten Server, ganz gleich, was hier eingestellt ist.</translation>
    </message>
    <message>
        <source>Sending a test mail...</source>
        <translation>Eine Testmail wird gesendet …</translation>
    </message>
    <message>
        <source>The test mail could not be sent: %1</source>
        <translation>Die Testmail konnte nicht gesendet werden: %1</translation>
    </message>
    <message>
        <source>%1

Nothing was saved. Press OK to try again.</source>
        <translation>%1

Es wurde nichts gespeichert. Drücken Sie OK, um es erneut zu versuchen.</translation>
    </message>
    <message>
        <source>%1

The other settings were saved. Press OK to try again.</source>
        <translation>%1

Die übrigen Einstellungen wurden gespeichert. Drücken Sie OK, um es erneut zu versuchen.</translation>
    </message>
    <message>
        <source>That mail is being sent right now, so it cannot be discarded; try again once the list has changed.</source>
        <translation>Diese Mail wird gerade gesendet und lässt sich daher nicht verwerfen; versuchen Sie es erneut, sobald sich die Liste geändert hat.</translation>
    </message>
</context>
<context>
    <name>pesterly::NagList</name>
    <message>
        <source>Edit Nag List</source>
        <translation>Mahnliste bearbeiten</translation>
    </message>
    <message>
        <source>To List</source>
        <translation>Empfängerliste</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Addressing Options</source>
        <translation>Adressierung</translation>
    </message>
    <message>
        <source>Use TO:</source>
        <translation>In An:</translation>
    </message>
    <message>
        <source>Use BCC:</source>
        <translation>In Bcc:</translation>
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
        <source>New address</source>
        <translation>Neue Adresse</translation>
    </message>
    <message>
        <source>&quot;Add&quot; puts this address on the nag list</source>
        <translation>„Hinzufügen“ setzt diese Adresse auf die Mahnliste</translation>
    </message>
    <message>
        <source>Nag list</source>
        <translation>Mahnliste</translation>
    </message>
    <message>
        <source>To address</source>
        <translation>An-Adresse</translation>
    </message>
    <message>
        <source>The address in the To: line when the nag list goes in BCC:</source>
        <translation>Die Adresse in der An:-Zeile, wenn die Mahnliste ins Bcc: geht</translation>
    </message>
    <message>
        <source>%1

The nag list was not saved. Press OK to try again.</source>
        <translation>%1

Die Mahnliste wurde nicht gespeichert. Drücken Sie OK, um es erneut zu versuchen.</translation>
    </message>
</context>
<context>
    <name>pesterly::OptionsForm</name>
    <message>
        <source>Pesterly Options</source>
        <translation>Pesterly-Optionen</translation>
    </message>
    <message>
        <source>&amp;Pop up the nag window at</source>
        <translation>Mahn&amp;fenster öffnen um</translation>
    </message>
    <message>
        <source>Start Pesterly when I log in</source>
        <translation>Pesterly bei der Anmeldung starten</translation>
    </message>
</context>
<context>
    <name>pesterly::PesterlyMain</name>
    <message>
        <source>Pesterly: 1 nag mail waiting</source>
        <translation>Pesterly: 1 Mahnmail wartet</translation>
    </message>
    <message numerus="yes">
        <source>Pesterly: %n nag mails waiting</source>
        <translation>
            <numerusform>Pesterly: %n Mahnmail wartet</numerusform>
            <numerusform>Pesterly: %n Mahnmails warten</numerusform>
        </translation>
    </message>
    <message>
        <source>This desktop has no notification area, so a hidden Pesterly could not be brought back. Hide is off until there is one.</source>
        <translation>Dieser Desktop hat keinen Benachrichtigungsbereich, daher ließe sich ein verborgenes Pesterly nicht zurückholen. Verbergen bleibt aus, bis es einen gibt.</translation>
    </message>
    <message>
        <source>Add New Event</source>
        <translation>Neues Ereignis</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Verbergen</translation>
    </message>
    <message>
        <source>Delete Event</source>
        <translation>Ereignis löschen</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Ereignisse</translation>
    </message>
    <message>
        <source>Enter opens the event in the editor; the Delete key deletes it</source>
        <translation>Eingabe öffnet das Ereignis im Editor; die Entf-Taste löscht es</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Export Events</source>
        <translation>Ereignisse &amp;exportieren</translation>
    </message>
    <message>
        <source>&amp;Import Events</source>
        <translation>Ereignisse &amp;importieren</translation>
    </message>
    <message>
        <source>Export to &amp;Calendar...</source>
        <translation>In &amp;Kalender exportieren …</translation>
    </message>
    <message>
        <source>Import from Ca&amp;lendar...</source>
        <translation>Aus Ka&amp;lender importieren …</translation>
    </message>
    <message>
        <source>&amp;Keep Calendar File...</source>
        <translation>Kalenderdatei &amp;aktuell halten …</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Reminder Options</source>
        <translation>&amp;Erinnerungsoptionen</translation>
    </message>
    <message>
        <source>&amp;NagMail Options</source>
        <translation>&amp;Mahnmail-Optionen</translation>
    </message>
    <message>
        <source>&amp;Mail Server</source>
        <translation>Mail&amp;server</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Pesterly</source>
        <translation>Ü&amp;ber Pesterly</translation>
    </message>
    <message>
        <source>Pesterly &amp;Help</source>
        <translation>Pesterly-&amp;Hilfe</translation>
    </message>
    <message>
        <source>Tray</source>
        <translation>Benachrichtigungsfeld</translation>
    </message>
    <message>
        <source>Show Pesterly</source>
        <translation>Pesterly anzeigen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
</TS>
