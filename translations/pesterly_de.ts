<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Application</name>
    <message>
        <source>Pesterly cannot start: it could not make its lock file in any of these places:
    %1

Without one it cannot tell whether another copy already runs on the same settings file, and two copies would overwrite each other&apos;s events. Free some space or make one of these folders writable for you, then start Pesterly again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pesterly is already running; its window has been shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pesterly is already running for this settings file, but it did not answer, so its window could not be shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pesterly is already running for this settings file, but its local socket is held by a program of another user, so its window could not be shown. Look for its icon in the notification area.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalendarCommands</name>
    <message>
        <source>Export to Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import from Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Nothing was imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Calendar File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalendarFileKeeper</name>
    <message>
        <source>Pesterly could not keep the calendar file current. %1

Choose another file under File, Keep Calendar File.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ending</name>
    <message>
        <source>%1

Your events are still here. Pesterly stays open so that nothing is lost; close it again once the problem is solved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExchangeCommands</name>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is nothing to export: select the events to export first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pesterly imported nothing from %1, because the file is damaged:
%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GridCommands</name>
    <message>
        <source>Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email List?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special Email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To Be Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pesterly keeps at most 101 events, and the table is full.

Delete an event you no longer need before adding a new one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I was too lazy to implement multiple event deletes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MailServerSettings</name>
    <message>
        <source>Server: enter the host name of your mail server, such as mail.example.org.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server: &quot;%1&quot; is not a host name; a host name has no blanks, such as mail.example.org.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port: &quot;%1&quot; is not a port number; enter a number from 1 to 65535, or leave it empty for the usual port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security: with a user name the connection must be encrypted, or the password would cross the network as plain text. Choose STARTTLS or TLS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sender address: &quot;%1&quot; is not a mail address; enter one such as me@example.org (letters outside plain ASCII only after the @), or leave it empty for the automatic one.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Review</name>
    <message>
        <source>Pesterly could not send the nag mail for &quot;%1&quot;.

%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::AboutPesterlyForm</name>
    <message>
        <source>About Pesterly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pesterly  %1 by the Pesterly developers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any comments or bug reports can be sent to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check out %1 for news and new versions.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::AddCategoryForm</name>
    <message>
        <source>Add a Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New category</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::ChangeSaver</name>
    <message>
        <source>%1

Your changes are still here. Pesterly tries again at each change and when it ends, and stays open then if it still cannot save.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::EditHappening</name>
    <message>
        <source>Edit Event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Nag Mail?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EMail Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EMail Full NagList?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special &amp;Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text for message &amp;body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A one-time event is due on this day; a repeating event shows it in the grid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special mail address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The nag mail also goes to this address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mail text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(none)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::FreedesktopNotifier</name>
    <message>
        <source>Answer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::HelpWindow</name>
    <message>
        <source>Pesterly Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::MailServerForm</name>
    <message>
        <source>Mail Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Nag Mail Through</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system&apos;s sendmail program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An SMTP server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SMTP Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ser&amp;ver:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Se&amp;curity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sen&amp;der address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Test Mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nag Mails Waiting to Be Sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retry Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sender address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty for the usual port of the security chosen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty for an address made of the user and host name; test mail goes here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test mail result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting mails</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every waiting nag mail has been sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 nag mail is still waiting; Pesterly tries again later.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n nag mails are still waiting; Pesterly tries again later.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (to %2, since %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending the waiting nag mails again...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no keyring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No keyring service runs in this desktop session, so Pesterly cannot keep a password. A login in ~/.netrc still works.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PESTERLY_MAIL_URL is set, so mail goes to the server it names whatever the settings here say.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending a test mail...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The test mail could not be sent: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1

Nothing was saved. Press OK to try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1

The other settings were saved. Press OK to try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::NagList</name>
    <message>
        <source>Edit Nag List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Addressing Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use TO:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use BCC:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;Add&quot; puts this address on the nag list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nag list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The address in the To: line when the nag list goes in BCC:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1

The nag list was not saved. Press OK to try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::OptionsForm</name>
    <message>
        <source>Pesterly Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pop up the nag window at</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Pesterly when I log in</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pesterly::PesterlyMain</name>
    <message>
        <source>Pesterly: 1 nag mail waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Pesterly: %n nag mails waiting</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>This desktop has no notification area, so a hidden Pesterly could not be brought back. Hide is off until there is one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add New Event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter opens the event in the editor; the Delete key deletes it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export to &amp;Calendar...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import from Ca&amp;lendar...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep Calendar File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reminder Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;NagMail Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Mail Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Pesterly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pesterly &amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Pesterly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
