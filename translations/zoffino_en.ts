<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="it_IT">
<context>
    <name>AudioConverter</name>
    <message>
        <source>Il file &quot;%1&quot; è troppo lungo per un file WAV.</source>
        <translation>The file &quot;%1&quot; is too long for a WAV file.</translation>
    </message>
</context>
<context>
    <name>AudioDecoder</name>
    <message>
        <source>Il file &quot;%1&quot; non contiene audio (%2).</source>
        <translation>The file &quot;%1&quot; contains no audio (%2).</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; ha %2 canali audio: se ne convertono da 1 a %3 (%4).</source>
        <translation>The file &quot;%1&quot; has %2 audio channels: from 1 to %3 can be converted (%4).</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; ha una frequenza di campionamento di %2 Hz: se ne convertono da %3 a %4 Hz (%5).</source>
        <translation>The file &quot;%1&quot; has a sample rate of %2 Hz: from %3 to %4 Hz can be converted (%5).</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non si può leggere fino in fondo: è danneggiato o illeggibile (%2).</source>
        <translation>The file &quot;%1&quot; cannot be read to the end: it is damaged or unreadable (%2).</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non contiene suoni: la sua traccia audio è vuota (%2).</source>
        <translation>The file &quot;%1&quot; contains no sound: its audio stream is empty (%2).</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; è incompleto: contiene %2 dei %3 che dichiara (%4).</source>
        <translation>The file &quot;%1&quot; is incomplete: it contains %2 of the %3 it declares (%4).</translation>
    </message>
    <message>
        <source>sconosciuto</source>
        <comment>codec</comment>
        <translation>unknown</translation>
    </message>
    <message>
        <source>PCM %1 bit virgola mobile</source>
        <translation>PCM %1-bit floating point</translation>
    </message>
    <message>
        <source>PCM %1 bit</source>
        <translation>PCM %1-bit</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; è danneggiato e non si può convertire (%2).</source>
        <translation>The file &quot;%1&quot; is damaged and cannot be converted (%2).</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non è un file audio leggibile (%2).</source>
        <translation>The file &quot;%1&quot; is not a readable audio file (%2).</translation>
    </message>
    <message>
        <source>Il formato audio del file &quot;%1&quot; non è supportato (%2).</source>
        <translation>The audio format of the file &quot;%1&quot; is not supported (%2).</translation>
    </message>
    <message>
        <source>Memoria insufficiente per leggere il file &quot;%1&quot; (%2).</source>
        <translation>Not enough memory to read the file &quot;%1&quot; (%2).</translation>
    </message>
</context>
<context>
    <name>AudioInfo</name>
    <message>
        <source>mono</source>
        <translation>mono</translation>
    </message>
    <message>
        <source>stereo</source>
        <translation>stereo</translation>
    </message>
    <message numerus="yes">
        <source>%n canali</source>
        <translation>
            <numerusform>%n channel</numerusform>
            <numerusform>%n channels</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CDiagnosticsDlg</name>
    <message>
        <source>Byte inviati</source>
        <translation>Bytes sent</translation>
    </message>
    <message>
        <source>L&apos;ultimo report mandato al lettore, in esadecimale</source>
        <translation>The last report sent to the player, in hexadecimal</translation>
    </message>
    <message>
        <source>Byte ricevuti</source>
        <translation>Bytes received</translation>
    </message>
    <message>
        <source>I report arrivati dal lettore, in esadecimale</source>
        <translation>The reports that came from the player, in hexadecimal</translation>
    </message>
    <message>
        <source>Registro</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>Ogni report scambiato con il lettore e ogni evento</source>
        <translation>Every report exchanged with the player, and every event</translation>
    </message>
</context>
<context>
    <name>CPlanDlg</name>
    <message>
        <source>Carica più file</source>
        <translation>Load several files</translation>
    </message>
    <message>
        <source>Questi file andranno nel lettore, uno per brano:</source>
        <translation>These files will go into the player, one per track:</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Durata</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Brano</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>Parte caricata</source>
        <translation>Part loaded</translation>
    </message>
    <message>
        <source>File da caricare</source>
        <translation>Files to load</translation>
    </message>
    <message>
        <source>&amp;Modifica...</source>
        <translation>&amp;Edit...</translation>
    </message>
    <message>
        <source>Sceglie nella finestra del brano la parte del file selezionato che va nel lettore.</source>
        <translation>Chooses, in the track window, the part of the selected file that goes into the player.</translation>
    </message>
    <message>
        <source>Carica tutti</source>
        <translation>Load all</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CPlayerApp</name>
    <message numerus="yes">
        <source>%n brani</source>
        <comment>division</comment>
        <translation>
            <numerusform>one track</numerusform>
            <numerusform>%n tracks</numerusform>
        </translation>
    </message>
    <message>
        <source>Brano %1</source>
        <translation>Track %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>a track&apos;s name and its length</comment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Nessuno dei file si può caricare:
%1</source>
        <translation>None of the files can be loaded:
%1</translation>
    </message>
    <message>
        <source>Il lettore ora è diviso in %1; caricando questo brano con la divisione in %2, lo spazio che occupa cancella dal lettore %3: %4.</source>
        <translation>The player is now divided into %1; loaded with the partition into %2, this track takes a slot that erases %3 from the player: %4.</translation>
    </message>
    <message numerus="yes">
        <source>i brani</source>
        <comment>erased</comment>
        <translation>
            <numerusform>this track</numerusform>
            <numerusform>these tracks</numerusform>
        </translation>
    </message>
    <message>
        <source>Il lettore ora è diviso in %1; la divisione in %2 cancella dal lettore %3: %4.</source>
        <translation>The player is now divided into %1; the partition into %2 erases %3 from the player: %4.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>(non si è potuto aprire)</source>
        <translation>(could not be opened)</translation>
    </message>
    <message>
        <source>(non risponde)</source>
        <translation>(does not answer)</translation>
    </message>
    <message>
        <source>Il lettore %1 è occupato: un altro programma vi sta caricando dei brani.
Riprovare quando avrà finito.</source>
        <translation>The player %1 is busy: another program is loading tracks into it.
Try again when it has finished.</translation>
    </message>
    <message>
        <source>(occupato: un altro programma vi sta caricando dei brani)</source>
        <translation>(busy: another program is loading tracks into it)</translation>
    </message>
</context>
<context>
    <name>CPlayerDlg</name>
    <message>
        <source>Brano</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>Scegliere un brano</source>
        <translation>Choose a track</translation>
    </message>
    <message>
        <source>Il brano a cui si riferiscono Carica file, Suona e Default</source>
        <translation>The track that Load file, Play and Default act on</translation>
    </message>
    <message>
        <source>Il testo con cui il lettore collegato si presenta</source>
        <translation>The text the connected player identifies itself with</translation>
    </message>
    <message>
        <source>Il brano che il lettore suona quando viene premuto il suo tasto</source>
        <translation>The track the player plays when its button is pressed</translation>
    </message>
    <message>
        <source>Il lettore ripete il brano finché non viene fermato</source>
        <translation>The player repeats the track until it is stopped</translation>
    </message>
    <message>
        <source>Divide la memoria del lettore in %1 da %2 s ciascuno</source>
        <translation>Divides the player&apos;s memory into %1 of %2 s</translation>
    </message>
    <message>
        <source>Suona</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Lettore: %1</source>
        <translation>Player: %1</translation>
    </message>
    <message>
        <source>Durata massima: %1 s</source>
        <translation>Maximum length: %1 s</translation>
    </message>
    <message>
        <source>Carica uno o più file audio, dal brano scelto in poi.</source>
        <translation>Loads one or more audio files, from the chosen track on.</translation>
    </message>
    <message>
        <source>Scegliere prima un brano nella lista: il file andrà lì.</source>
        <translation>Choose a track in the list first: the file will go there.</translation>
    </message>
    <message>
        <source>Nessun lettore collegato: collegarlo per caricare un file.</source>
        <translation>No player connected: plug it in to load a file.</translation>
    </message>
    <message>
        <source>Interrompi</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>&lt;Lettore USB non trovato&gt;</source>
        <translation>&lt;USB player not found&gt;</translation>
    </message>
    <message>
        <source>File audio supportati (%1);;File audio (*.wav);;File audio MP3 (*.mp3)</source>
        <translation>Supported audio files (%1);;WAV audio files (*.wav);;MP3 audio files (*.mp3)</translation>
    </message>
    <message>
        <source>Nella cartella &quot;%1&quot; non c&apos;è nessun file audio da caricare: trascinare i file audio, o la cartella che li contiene.</source>
        <translation>The folder &quot;%1&quot; holds no audio file to load: drag the audio files, or the folder that holds them.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>a player&apos;s text and its path</comment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1 (%2, numero di serie %3)</source>
        <translation>%1 (%2, serial number %3)</translation>
    </message>
    <message>
        <source>&lt;Nessun lettore in uso: sceglierne uno dal menu&gt;</source>
        <translation>&lt;No player in use: choose one from the menu&gt;</translation>
    </message>
    <message>
        <source>Fare clic con il tasto destro sulla finestra per scegliere tra i lettori collegati.</source>
        <translation>Right-click the window to choose from the players connected.</translation>
    </message>
</context>
<context>
    <name>CProgressDlg</name>
    <message>
        <source>Tempo rimanente</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>%1 — %2%</source>
        <translation>%1 — %2%</translation>
    </message>
    <message>
        <source>Tempo rimanente: %1</source>
        <translation>Time left: %1</translation>
    </message>
</context>
<context>
    <name>CRegSettings</name>
    <message>
        <source>Le impostazioni non sono state salvate in &quot;%1&quot;: %2.</source>
        <translation>The settings were not saved in &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>è un collegamento a un file che non esiste</source>
        <translation>it is a link to a file that does not exist</translation>
    </message>
    <message>
        <source>non è un file normale; toglierlo per salvarle</source>
        <translation>it is not a regular file; remove it to save them</translation>
    </message>
    <message>
        <source>il file è in sola lettura</source>
        <translation>the file is read-only</translation>
    </message>
    <message>
        <source>la cartella non si può creare</source>
        <translation>the folder cannot be created</translation>
    </message>
    <message>
        <source>un altro programma lo sta usando</source>
        <translation>another program is using it</translation>
    </message>
    <message>
        <source>il file non si può leggere</source>
        <translation>the file cannot be read</translation>
    </message>
    <message>
        <source>il file non si può scrivere (disco pieno?)</source>
        <translation>the file cannot be written (disk full?)</translation>
    </message>
    <message>
        <source>la chiave non si può aprire</source>
        <translation>the key cannot be opened</translation>
    </message>
    <message>
        <source>il registro non ha accettato i valori</source>
        <translation>the registry did not accept the values</translation>
    </message>
</context>
<context>
    <name>CTrackDlg</name>
    <message>
        <source>Prepara il brano</source>
        <translation>Prepare the track</translation>
    </message>
    <message>
        <source>Questo computer non ha un&apos;uscita audio.</source>
        <translation>This computer has no audio output.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2.</source>
        <translation>&quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Lo spazio scelto contiene %1 s: va nel lettore la parte chiara.</source>
        <translation>The chosen slot holds %1 s: the light part goes into the player.</translation>
    </message>
    <message>
        <source>Inizio</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Dove comincia la parte, in minuti, secondi e decimi (1:23,4).</source>
        <translation>Where the part starts, in minutes, seconds and tenths (1:23.4).</translation>
    </message>
    <message>
        <source>Parte più forte</source>
        <translation>Loudest part</translation>
    </message>
    <message>
        <source>Porta la parte dove il brano suona più forte.</source>
        <translation>Moves the part to where the track is loudest.</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Dissolvenza iniziale</source>
        <translation>Fade in</translation>
    </message>
    <message>
        <source>Dissolvenza finale</source>
        <translation>Fade out</translation>
    </message>
    <message>
        <source>Porta il volume al massimo senza distorcere</source>
        <translation>Raise the volume to the maximum without distortion</translation>
    </message>
    <message>
        <source>&amp;Finale:</source>
        <translation>Fade &amp;out:</translation>
    </message>
    <message>
        <source>&amp;Inizio:</source>
        <translation>&amp;Start:</translation>
    </message>
    <message>
        <source>&amp;Dissolvenze, iniziale:</source>
        <translation>&amp;Fade in:</translation>
    </message>
    <message>
        <source>Ascolta</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>Carica</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Volume dell&apos;ascolto</source>
        <translation>Listening volume</translation>
    </message>
    <message>
        <source>Il volume dell&apos;ascolto sul computer; il brano caricato non cambia.</source>
        <translation>The listening volume on the computer; the track loaded into the player does not change.</translation>
    </message>
    <message>
        <source>&amp;Volume dell&apos;ascolto:</source>
        <translation>Listening &amp;volume:</translation>
    </message>
    <message>
        <source>Lettura del file: %1%</source>
        <translation>Reading the file: %1%</translation>
    </message>
    <message>
        <source>Suona la parte come la suonerà il lettore (Spazio).</source>
        <translation>Plays the part as the player will play it (Space).</translation>
    </message>
    <message>
        <source>Ferma</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Impossibile ascoltare la parte: %1</source>
        <translation>Cannot listen to the part: %1</translation>
    </message>
</context>
<context>
    <name>CapturedViewMenu</name>
    <message>
        <source>Copia</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Salva in un file di testo...</source>
        <translation>Save to a text file...</translation>
    </message>
    <message>
        <source>Svuota</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>File di testo (*.txt);;Tutti i file (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>Impossibile salvare &quot;%1&quot;: %2. Scegliere un&apos;altra cartella o un altro nome.</source>
        <translation>Cannot save &quot;%1&quot;: %2. Choose another folder or another name.</translation>
    </message>
</context>
<context>
    <name>CliTool</name>
    <message>
        <source>&quot;%1&quot; non è un file di questo computer: si caricano solo file locali, indicati con il loro percorso.</source>
        <translation>&quot;%1&quot; is not a file on this computer: only local files can be loaded, given by their path.</translation>
    </message>
    <message>
        <source>load vuole un FILE e --track N, con N da 1 a %1.</source>
        <translation>load needs a FILE and --track N, with N from 1 to %1.</translation>
    </message>
    <message>
        <source>Caricato: &quot;%1&quot; nel brano %2 di %3.</source>
        <translation>Loaded: &quot;%1&quot; into track %2 of %3.</translation>
    </message>
    <message>
        <source>--track vuole il primo brano, da 1 a %1.</source>
        <translation>--track needs the first track, from 1 to %1.</translation>
    </message>
    <message>
        <source>convert vuole il FILE da leggere e il file WAV da scrivere.</source>
        <translation>convert needs the FILE to read and the WAV file to write.</translation>
    </message>
    <message>
        <source>Scritto: %1</source>
        <translation>Written: %1</translation>
    </message>
    <message>
        <source>preview vuole il FILE da ascoltare.</source>
        <translation>preview needs the FILE to listen to.</translation>
    </message>
    <message>
        <source>Nessuna uscita audio su questo computer: impossibile ascoltare.</source>
        <translation>No audio output on this computer: cannot listen.</translation>
    </message>
    <message>
        <source>In ascolto: %1 s, come li suonerà il lettore. Ctrl+C per fermare.</source>
        <translation>Listening: %1 s, as the player will play them. Ctrl+C to stop.</translation>
    </message>
    <message>
        <source>Interrotto: nulla è stato inviato al lettore.</source>
        <translation>Interrupted: nothing was sent to the player.</translation>
    </message>
    <message>
        <source>Il lettore non ha preso il comando: scollegarlo, ricollegarlo e riprovare.</source>
        <translation>The player did not take the command: unplug it, plug it back in and try again.</translation>
    </message>
    <message>
        <source>sì</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>no</source>
        <translation>no</translation>
    </message>
    <message>
        <source>Vedere: zoffino --help</source>
        <translation>See: zoffino --help</translation>
    </message>
    <message>
        <source>Il brano (da 1).</source>
        <translation>The track (from 1).</translation>
    </message>
    <message>
        <source>Divide la memoria in 1, 2, 4 o 8 brani.</source>
        <translation>Divides the memory into 1, 2, 4 or 8 tracks.</translation>
    </message>
    <message>
        <source>BRANI</source>
        <translation>COUNT</translation>
    </message>
    <message>
        <source>Ripetizione: on oppure off.</source>
        <translation>Repeat: on or off.</translation>
    </message>
    <message>
        <source>Il lettore suona un brano al tocco del suo tasto: 1 sì, 0 no.</source>
        <translation>The player&apos;s button plays a track: 1 yes, 0 no.</translation>
    </message>
    <message>
        <source>Risponde sì alle domande (conversione, taglio, brani cancellati).</source>
        <translation>Answers yes to the questions (conversion, cut, erased tracks).</translation>
    </message>
    <message>
        <source>comando</source>
        <translation>command</translation>
    </message>
    <message>
        <source>Manca il comando.</source>
        <translation>The command is missing.</translation>
    </message>
    <message>
        <source>Comando sconosciuto: %1</source>
        <translation>Unknown command: %1</translation>
    </message>
    <message>
        <source>%1 non vuole altro dopo di sé: %2</source>
        <translation>%1 takes nothing after it: %2</translation>
    </message>
    <message>
        <source>%1 non accetta --%2.</source>
        <translation>%1 does not take --%2.</translation>
    </message>
    <message>
        <source>--partition vuole 1, 2, 4 o 8.</source>
        <translation>--partition needs 1, 2, 4 or 8.</translation>
    </message>
    <message>
        <source>Lettore: %1</source>
        <translation>Player: %1</translation>
    </message>
    <message>
        <source>Brani: %1
Loop: %2
Default: %3
Report: %4 byte in ingresso, %5 in uscita</source>
        <translation>Tracks: %1
Loop: %2
Default: %3
Reports: %4 bytes in, %5 out</translation>
    </message>
    <message numerus="yes">
        <source>Con %n brani: %1 s ciascuno</source>
        <translation>
            <numerusform>With %n track: %1 s</numerusform>
            <numerusform>With %n tracks: %1 s each</numerusform>
        </translation>
    </message>
    <message>
        <source>Brano %1: %2</source>
        <translation>Track %1: %2</translation>
    </message>
    <message>
        <source>play vuole il numero di un brano, da 1 a %1.</source>
        <translation>play needs a track number, from 1 to %1.</translation>
    </message>
    <message>
        <source>--loop vuole on oppure off.</source>
        <translation>--loop needs on or off.</translation>
    </message>
    <message>
        <source>--default vuole 1 oppure 0.</source>
        <translation>--default needs 1 or 0.</translation>
    </message>
    <message>
        <source>Brani: %1
Loop: %2
Default: %3</source>
        <translation>Tracks: %1
Loop: %2
Default: %3</translation>
    </message>
    <message>
        <source>Gestione da riga di comando del lettore Zoffino USB.

Comandi:
  list                   i lettori collegati: percorso, testo, numero
                         di serie
  info                   testo, configurazione, spazi e brani del lettore
  load FILE --track N    carica un file audio nel brano N
  load FILE FILE...      carica più file, uno per brano, dal primo
                         (o da --track N) in poi
  convert FILE OUT.wav   scrive la parte del file che andrebbe nel
                         lettore, senza lettore (--partition, 1 se
                         manca)
  preview FILE           fa ascoltare sul computer quella parte,
                         come la suonerà il lettore
  play N                 suona il brano N
  stop                   ferma il lettore
  config                 mostra o cambia la configurazione</source>
        <translation>Manages the Zoffino USB player from the command line.

Commands:
  list                   the connected players: path, text, serial number
  info                   the player&apos;s text, configuration, slots and tracks
  load FILE --track N    loads an audio file into track N
  load FILE FILE...      loads several files, one per track, from the
                         first (or from --track N) onwards
  convert FILE OUT.wav   writes the part of the file that would go into
                         the player, without a player (--partition, 1
                         if not given)
  preview FILE           plays that part on the computer, as the player
                         will play it
  play N                 plays track N
  stop                   stops the player
  config                 shows or changes the configuration</translation>
    </message>
    <message>
        <source>list, info, load, convert, preview, play, stop o config</source>
        <translation>list, info, load, convert, preview, play, stop or config</translation>
    </message>
    <message>
        <source>numero di serie %1</source>
        <translation>serial number %1</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Gestisce i brani del lettore audio Zoffino USB (vendor 115f, product 0230).
Senza opzioni usa il lettore collegato, attraverso hidapi.</source>
        <translation>Manages the tracks of the Zoffino USB audio player (vendor 115f, product 0230).
Without options it uses the connected player, through hidapi.</translation>
    </message>
    <message>
        <source>Argomento sconosciuto: %1</source>
        <translation>Unknown argument: %1</translation>
    </message>
    <message>
        <source>
Con --simulate senza FILE la memoria simulata è in
  %1
</source>
        <translation>
With --simulate and no FILE, the simulated memory is in
  %1
</translation>
    </message>
    <message>
        <source>Mostra questo aiuto.</source>
        <translation>Shows this help.</translation>
    </message>
    <message>
        <source>Mostra il numero di versione del programma.</source>
        <translation>Shows the program&apos;s version number.</translation>
    </message>
    <message>
        <source>Usa un lettore simulato, con la memoria da 1 MiB nel FILE (creata cancellata se manca). --simulate senza FILE: nella cartella dei dati dell&apos;utente.</source>
        <translation>Uses a simulated player, with its 1 MiB memory in FILE (created erased when missing). --simulate without FILE: in the user&apos;s data folder.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>Con --simulate: ogni report impiega US microsecondi sul bus simulato (1000 come su USB full-speed; predefinito 0).</source>
        <translation>With --simulate: each report takes US microseconds on the simulated bus (1000 as on full-speed USB; default 0).</translation>
    </message>
    <message>
        <source>US</source>
        <translation>US</translation>
    </message>
    <message>
        <source>--simulate: nessuna cartella dei dati; indicare --simulate=FILE.</source>
        <translation>--simulate: no data folder; give --simulate=FILE.</translation>
    </message>
    <message>
        <source>--simulate= vuole il nome di un file.</source>
        <translation>--simulate= needs a file name.</translation>
    </message>
    <message>
        <source>--report-time vuole un numero di microsecondi da 0 a %1.</source>
        <translation>--report-time needs a number of microseconds from 0 to %1.</translation>
    </message>
    <message>
        <source>--report-time vale solo per il lettore simulato (--simulate).</source>
        <translation>--report-time only applies to the simulated player (--simulate).</translation>
    </message>
    <message>
        <source>L&apos;immagine &quot;%1&quot; è in sola lettura: il lettore simulato mostra e suona quello che contiene, ma non può tenere brani nuovi né un&apos;altra configurazione. Per cambiarla, renderla scrivibile (chmod u+w) o indicarne un&apos;altra.</source>
        <translation>The image &quot;%1&quot; is read-only: the simulated player shows and plays what it holds, but cannot keep new tracks or another configuration. To change it, make it writable (chmod u+w) or give another one.</translation>
    </message>
    <message>
        <source>Vedere: %1 --help</source>
        <translation>See: %1 --help</translation>
    </message>
    <message>
        <source>Usa il lettore al PERCORSO (come lo mostra zoffino list), non il primo collegato.</source>
        <translation>Uses the player at PATH (as zoffino list shows it), not the first one connected.</translation>
    </message>
    <message>
        <source>PERCORSO</source>
        <translation>PATH</translation>
    </message>
    <message>
        <source>--device vuole il percorso di un lettore (zoffino list li mostra).</source>
        <translation>--device needs the path of a player (zoffino list shows them).</translation>
    </message>
</context>
<context>
    <name>DecodeLoop</name>
    <message>
        <source>Il file &quot;%1&quot; non si può convertire (%2).</source>
        <translation>The file &quot;%1&quot; cannot be converted (%2).</translation>
    </message>
</context>
<context>
    <name>Durations</name>
    <message>
        <source>,</source>
        <comment>decimal separator</comment>
        <translation>.</translation>
    </message>
</context>
<context>
    <name>FlashImage</name>
    <message>
        <source>Impossibile scrivere l&apos;immagine &quot;%1&quot;: controllare che il disco non sia pieno e che il file non sia di sola lettura.</source>
        <translation>Cannot write the image &quot;%1&quot;: check that the disk is not full and that the file is not read-only.</translation>
    </message>
    <message>
        <source>Impossibile esaminare l&apos;immagine &quot;%1&quot; (%2): controllare il percorso e i permessi delle cartelle.</source>
        <translation>Cannot examine the image &quot;%1&quot; (%2): check the path and the folders&apos; permissions.</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non è un&apos;immagine della memoria del lettore: deve essere un file di esattamente %2 byte. Indicare un&apos;altra immagine, o il nome di un file che non esiste per crearne una nuova.</source>
        <translation>The file &quot;%1&quot; is not an image of the player&apos;s memory: it must be a file of exactly %2 bytes. Give another image, or the name of a file that does not exist to create a new one.</translation>
    </message>
    <message>
        <source>Impossibile aprire l&apos;immagine &quot;%1&quot; in lettura e scrittura: controllarne i permessi.</source>
        <translation>Cannot open the image &quot;%1&quot; for reading and writing: check its permissions.</translation>
    </message>
    <message>
        <source>Impossibile creare l&apos;immagine &quot;%1&quot;: controllare che la cartella esista e sia scrivibile.</source>
        <translation>Cannot create the image &quot;%1&quot;: check that the folder exists and is writable.</translation>
    </message>
    <message>
        <source>L&apos;immagine &quot;%1&quot; è usata da un altro programma: due lettori sulla stessa immagine mescolerebbero i loro blocchi. Chiudere l&apos;altro programma o indicare un&apos;altra immagine.</source>
        <translation>The image &quot;%1&quot; is in use by another program: two players on the same image would mix their blocks. Close the other program or give another image.</translation>
    </message>
    <message>
        <source>Impossibile leggere l&apos;immagine &quot;%1&quot;: controllarne i permessi o indicare un&apos;altra immagine.</source>
        <translation>Cannot read the image &quot;%1&quot;: check its permissions or give another image.</translation>
    </message>
</context>
<context>
    <name>IDD_ABOUTBOX</name>
    <message>
        <source>Informazioni su Zoffino USB</source>
        <translation>About Zoffino USB</translation>
    </message>
    <message>
        <source>Programma Gestione Zoffino USB versione 1.0</source>
        <translation>Zoffino USB Manager version 1.0</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Quenmark Audio</source>
        <translation>Copyright (C) 2026 Quenmark Audio</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>IDD_DIAGNOSTICS</name>
    <message>
        <source>Diagnostica Zoffino USB</source>
        <translation>Zoffino USB Diagnostics</translation>
    </message>
    <message>
        <source>Tipo 1</source>
        <translation>Type 1</translation>
    </message>
    <message>
        <source>Tipo 2</source>
        <translation>Type 2</translation>
    </message>
    <message>
        <source>Tipo 8</source>
        <translation>Type 8</translation>
    </message>
    <message>
        <source>Tipo 13 test</source>
        <translation>Type 13 test</translation>
    </message>
    <message>
        <source>EEW</source>
        <translation>EEW</translation>
    </message>
    <message>
        <source>EER</source>
        <translation>EER</translation>
    </message>
    <message>
        <source>Byte inviati</source>
        <translation>Bytes sent</translation>
    </message>
    <message>
        <source>Byte ricevuti</source>
        <translation>Bytes received</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>IDD_PLAYER</name>
    <message>
        <source>Gestione Zoffino USB</source>
        <translation>Zoffino USB Manager</translation>
    </message>
    <message>
        <source>Brano:</source>
        <translation>Track:</translation>
    </message>
    <message>
        <source>Brano 1</source>
        <translation>Track 1</translation>
    </message>
    <message>
        <source>Carica file...</source>
        <translation>Load file...</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>&amp;1 brano</source>
        <translation>&amp;1 track</translation>
    </message>
    <message>
        <source>&amp;2 brani</source>
        <translation>&amp;2 tracks</translation>
    </message>
    <message>
        <source>&amp;4 brani</source>
        <translation>&amp;4 tracks</translation>
    </message>
    <message>
        <source>&amp;8 brani</source>
        <translation>&amp;8 tracks</translation>
    </message>
    <message>
        <source>&amp;Loop</source>
        <translation>&amp;Loop</translation>
    </message>
    <message>
        <source>Suona</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Diagnostica</source>
        <translation>Diagnostics</translation>
    </message>
</context>
<context>
    <name>IDD_PROGRESS</name>
    <message>
        <source>in corso...</source>
        <translation>in progress...</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>OpenFailureAdvice</name>
    <message>
        <source>Nessun lettore Zoffino USB è collegato. Collegarlo: verrà riconosciuto appena inserito, senza riavviare il programma.</source>
        <translation>No Zoffino USB player is connected. Plug it in: it will be found at once, without restarting the program.</translation>
    </message>
    <message>
        <source>Il lettore è collegato, ma non si è potuto aprire (%1). Scollegarlo e ricollegarlo.</source>
        <translation>The player is connected, but it could not be opened (%1). Unplug it and plug it back in.</translation>
    </message>
    <message>
        <source>

Su Linux serve anche, una volta sola, la regola udev che dà il lettore all&apos;utente. </source>
        <translation>

On Linux, the udev rule that gives the user access to the player is also needed, just once. </translation>
    </message>
    <message>
        <source>Il lettore è collegato, ma questo utente non ha il permesso di usarlo.

</source>
        <translation>The player is connected, but this user has no permission to use it.

</translation>
    </message>
    <message>
        <source>La regola udev è installata (%1): caricarla in un terminale con
    sudo udevadm control --reload
    sudo udevadm trigger
poi scollegare e ricollegare il lettore.</source>
        <translation>The udev rule is installed (%1): load it in a terminal with
    sudo udevadm control --reload
    sudo udevadm trigger
then unplug the player and plug it back in.</translation>
    </message>
    <message>
        <source>Installare una volta la regola udev, in un terminale:
    echo &apos;%1&apos; | sudo tee /etc/udev/rules.d/70-zoffino.rules
    sudo udevadm control --reload
    sudo udevadm trigger
poi scollegare e ricollegare il lettore.</source>
        <translation>Install the udev rule once, in a terminal:
    echo &apos;%1&apos; | sudo tee /etc/udev/rules.d/70-zoffino.rules
    sudo udevadm control --reload
    sudo udevadm trigger
then unplug the player and plug it back in.</translation>
    </message>
    <message>
        <source>Il lettore è collegato, ma questo utente non ha il permesso di usarlo: chiedere all&apos;amministratore del computer.</source>
        <translation>The player is connected, but this user has no permission to use it: ask the computer&apos;s administrator.</translation>
    </message>
    <message>
        <source>--device %1: non è un lettore Zoffino USB.</source>
        <translation>--device %1: not a Zoffino USB player.</translation>
    </message>
    <message>
        <source>--device %1: non esiste.</source>
        <translation>--device %1: does not exist.</translation>
    </message>
    <message>
        <source>Nessun lettore Zoffino USB è collegato.</source>
        <translation>No Zoffino USB player is connected.</translation>
    </message>
    <message>
        <source>Lettori collegati: %1. Indicarne uno con --device, o togliere --device per usare il primo.</source>
        <translation>Connected players: %1. Name one with --device, or leave --device out to use the first.</translation>
    </message>
</context>
<context>
    <name>PartOptions</name>
    <message>
        <source>Dove comincia la parte del file che va nel brano (predefinito 0:00).</source>
        <translation>Where the part of the file that goes into the track starts (default 0:00).</translation>
    </message>
    <message>
        <source>La parte del file che suona più forte, lunga quanto il brano.</source>
        <translation>The loudest part of the file, as long as the track.</translation>
    </message>
    <message>
        <source>Dissolvenza iniziale in secondi, da 0 a 2.</source>
        <translation>Fade in, in seconds, from 0 to 2.</translation>
    </message>
    <message>
        <source>Dissolvenza finale in secondi, da 0 a 2.</source>
        <translation>Fade out, in seconds, from 0 to 2.</translation>
    </message>
    <message>
        <source>Lascia il volume com&apos;è, senza portarlo al massimo.</source>
        <translation>Leaves the volume as it is, not raised to the maximum.</translation>
    </message>
    <message>
        <source>--start e --loudest non vanno insieme: scegliere uno dei due.</source>
        <translation>--start and --loudest do not go together: choose one of them.</translation>
    </message>
    <message>
        <source>--start vuole un momento del file come 1:23.4 (minuti, secondi, decimi).</source>
        <translation>--start needs a time in the file such as 1:23.4 (minutes, seconds, tenths).</translation>
    </message>
    <message>
        <source>--%1 vuole i secondi della dissolvenza, da 0 a 2.</source>
        <translation>--%1 needs the length of the fade in seconds, from 0 to 2.</translation>
    </message>
</context>
<context>
    <name>PartRenderer</name>
    <message>
        <source>Impossibile rileggere il file temporaneo &quot;%1&quot; (%2).</source>
        <translation>Cannot read the temporary file &quot;%1&quot; again (%2).</translation>
    </message>
</context>
<context>
    <name>PlayerWavWriter</name>
    <message>
        <source>Impossibile scrivere il file convertito &quot;%1&quot; (%2): controllare lo spazio libero e i permessi della cartella.</source>
        <translation>Cannot write the converted file &quot;%1&quot; (%2): check the free space and the folder&apos;s permissions.</translation>
    </message>
</context>
<context>
    <name>QtSoundOutput</name>
    <message>
        <source>l&apos;uscita audio non si è aperta</source>
        <translation>the audio output did not open</translation>
    </message>
    <message>
        <source>l&apos;uscita audio non ha preso i campioni</source>
        <translation>the audio output did not take the samples</translation>
    </message>
    <message>
        <source>i campioni non sono arrivati in tempo</source>
        <translation>the samples did not arrive in time</translation>
    </message>
    <message>
        <source>il server audio non risponde</source>
        <translation>the sound server does not respond</translation>
    </message>
    <message>
        <source>l&apos;uscita audio si è fermata</source>
        <translation>the audio output stopped</translation>
    </message>
    <message>
        <source>Nessuna uscita audio: il computer non ne ha una, o il suo server audio non risponde.</source>
        <translation>No audio output: the computer has none, or its sound server does not respond.</translation>
    </message>
    <message>
        <source>L&apos;uscita audio «%1» non accetta il suono del lettore (8 bit, 22050 Hz, mono).</source>
        <translation>The audio output &quot;%1&quot; does not accept the player&apos;s sound (8 bit, 22050 Hz, mono).</translation>
    </message>
    <message>
        <source>L&apos;uscita audio non suona: %1.</source>
        <translation>The audio output does not play: %1.</translation>
    </message>
</context>
<context>
    <name>SetLoader</name>
    <message>
        <source>File %1 di %2: %3</source>
        <translation>File %1 of %2: %3</translation>
    </message>
    <message>
        <source>conversione di &quot;%1&quot;</source>
        <translation>converting &quot;%1&quot;</translation>
    </message>
    <message numerus="yes">
        <source>Caricamento di %n file in corso...</source>
        <translation>
            <numerusform>Loading %n file...</numerusform>
            <numerusform>Loading %n files...</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SetOutcome</name>
    <message>
        <source>&quot;%1&quot; nel brano %2 di %3</source>
        <translation>&quot;%1&quot; in track %2 of %3</translation>
    </message>
    <message>
        <source>Completo: %1.</source>
        <translation>Complete: %1.</translation>
    </message>
    <message>
        <source>Interrotto: %1 contiene solo i primi %2 s.</source>
        <translation>Interrupted: %1 holds only the first %2 s.</translation>
    </message>
    <message>
        <source>Non inviato: %1.</source>
        <translation>Not sent: %1.</translation>
    </message>
    <message>
        <source>Saltato: &quot;%1&quot;, %2</source>
        <translation>Skipped: &quot;%1&quot;, %2</translation>
    </message>
    <message numerus="yes">
        <source>Caricati %n file nel lettore.</source>
        <translation>
            <numerusform>Loaded %n file into the player.</numerusform>
            <numerusform>Loaded %n files into the player.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SetPlan</name>
    <message>
        <source>Brano %1 di %2</source>
        <translation>Track %1 of %2</translation>
    </message>
    <message>
        <source>non si carica: %1</source>
        <translation>cannot be loaded: %1</translation>
    </message>
    <message numerus="yes">
        <source>non entra: il lettore tiene al massimo %n brani</source>
        <translation>
            <numerusform>does not fit: the player holds at most %n track</numerusform>
            <numerusform>does not fit: the player holds at most %n tracks</numerusform>
        </translation>
    </message>
    <message>
        <source>tutto</source>
        <translation>all</translation>
    </message>
    <message>
        <source>la parte più forte, %1 s</source>
        <translation>the loudest part, %1 s</translation>
    </message>
    <message>
        <source>da %1 a %2</source>
        <translation>from %1 to %2</translation>
    </message>
    <message numerus="yes">
        <source>Il lettore sarà diviso in %n brani da %1 s ciascuno.</source>
        <translation>
            <numerusform>The player will have a single track of %1 s.</numerusform>
            <numerusform>The player will be divided into %n tracks of %1 s each.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Questa divisione cancella dal lettore %n brani: %1.</source>
        <translation>
            <numerusform>This partition erases %n track from the player: %1.</numerusform>
            <numerusform>This partition erases %n tracks from the player: %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Entrano %1 file su %2: gli altri non hanno un brano libero.</source>
        <translation>%1 of %2 files fit: the others have no free track.</translation>
    </message>
    <message numerus="yes">
        <source>%n file non si possono caricare e saranno saltati.</source>
        <translation>
            <numerusform>%n file cannot be loaded and will be skipped.</numerusform>
            <numerusform>%n files cannot be loaded and will be skipped.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1. &quot;%2&quot; (%3) → %4: %5</source>
        <translation>%1. &quot;%2&quot; (%3) → %4: %5</translation>
    </message>
    <message>
        <source>Carica tutti</source>
        <translation>Load all</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>ZoffinoUSB è già aperto: la sua finestra è stata portata in primo piano.</source>
        <translation>ZoffinoUSB is already open: its window has been brought to the front.</translation>
    </message>
    <message>
        <source>ZoffinoUSB è già aperto ma non risponde: chiuderlo prima di aprirlo di nuovo.</source>
        <translation>ZoffinoUSB is already open but does not respond: close it before opening it again.</translation>
    </message>
</context>
<context>
    <name>SourceFile</name>
    <message>
        <source>&quot;%1&quot; non è un file audio ma %2: sceglierne uno normale.</source>
        <translation>&quot;%1&quot; is not an audio file but %2: choose a regular one.</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non esiste: è stato spostato o cancellato? Sceglierne un altro.</source>
        <translation>The file &quot;%1&quot; does not exist: was it moved or deleted? Choose another one.</translation>
    </message>
    <message>
        <source>Non si ha il permesso di leggere il file &quot;%1&quot;: controllarne i permessi o sceglierne un altro.</source>
        <translation>There is no permission to read the file &quot;%1&quot;: check its permissions or choose another one.</translation>
    </message>
    <message>
        <source>una cartella</source>
        <translation>a folder</translation>
    </message>
    <message>
        <source>Impossibile aprire il file &quot;%1&quot; (%2).</source>
        <translation>Cannot open the file &quot;%1&quot; (%2).</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; si è accorciato mentre veniva letto: il brano sul lettore è incompleto. Ricaricarlo quando il file non cambia più.</source>
        <translation>The file &quot;%1&quot; got shorter while it was being read: the track on the player is incomplete. Load it again once the file no longer changes.</translation>
    </message>
    <message>
        <source>Errore di lettura del file &quot;%1&quot; (%2): il brano sul lettore è incompleto. Controllare il supporto e ricaricarlo.</source>
        <translation>Error reading the file &quot;%1&quot; (%2): the track on the player is incomplete. Check the medium and load it again.</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; è cambiato mentre veniva letto: il brano sul lettore può essere incompleto o mescolato. Ricaricarlo quando il file non cambia più.</source>
        <translation>The file &quot;%1&quot; changed while it was being read: the track on the player may be incomplete or mixed up. Load it again once the file no longer changes.</translation>
    </message>
    <message>
        <source>un file speciale</source>
        <translation>a special file</translation>
    </message>
    <message>
        <source>una pipe con nome (FIFO)</source>
        <translation>a named pipe (FIFO)</translation>
    </message>
    <message>
        <source>un socket</source>
        <translation>a socket</translation>
    </message>
    <message>
        <source>un dispositivo</source>
        <translation>a device</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>&amp;Informazioni su ZoffinoUSB...</source>
        <translation>&amp;About ZoffinoUSB...</translation>
    </message>
</context>
<context>
    <name>TerminalProgress</name>
    <message>
        <source>  tempo rimanente %1</source>
        <translation>  time left %1</translation>
    </message>
</context>
<context>
    <name>TerminalUi</name>
    <message>
        <source>%1: sì (--yes)</source>
        <translation>%1: yes (--yes)</translation>
    </message>
    <message>
        <source>Nessuna risposta possibile senza terminale: usare --yes per accettare.</source>
        <translation>No answer is possible without a terminal: use --yes to accept.</translation>
    </message>
    <message>
        <source>%1? [s/N]</source>
        <translation>%1? [y/N]</translation>
    </message>
    <message>
        <source>%1? [S/n]</source>
        <translation>%1? [Y/n]</translation>
    </message>
</context>
<context>
    <name>TrackDownload</name>
    <message>
        <source>Errore: formato file inadatto!</source>
        <translation>Error: unsuitable file format!</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non contiene suoni: ha meno dei %2 campioni che il lettore scrive alla volta.</source>
        <translation>The file &quot;%1&quot; contains no sound: it has fewer than the %2 samples the player writes at a time.</translation>
    </message>
    <message>
        <source>Download file audio in corso...</source>
        <translation>Downloading audio file...</translation>
    </message>
    <message>
        <source>&quot;%1&quot; nel brano %2 di %3</source>
        <translation>&quot;%1&quot; into track %2 of %3</translation>
    </message>
    <message>
        <source>Download del brano non riuscito: il lettore non ha risposto (blocco all&apos;indirizzo 0x%1).
Sono arrivati al lettore %2 byte del brano su %3.</source>
        <translation>The track download failed: the player did not respond (block at address 0x%1).
%2 of the track&apos;s %3 bytes reached the player.</translation>
    </message>
    <message>
        <source>Download interrotto: il brano sul lettore contiene solo i primi %1 s del file.</source>
        <translation>Download interrupted: the track on the player holds only the file&apos;s first %1 s.</translation>
    </message>
</context>
<context>
    <name>TrackLoader</name>
    <message>
        <source>Il brano &quot;%1&quot; dura %2, ma lo spazio scelto ne contiene solo %3: il resto verrà tagliato.

Caricare solo l&apos;inizio del brano?</source>
        <translation>The track &quot;%1&quot; lasts %2, but the chosen slot holds only %3: the rest will be cut off.

Load only the start of the track?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; è in formato %2.

Il lettore suona solo file WAV a 22050 Hz, 8 bit, mono: convertirlo in questo formato e caricarlo?</source>
        <translation>The file &quot;%1&quot; is in the format %2.

The player plays only WAV files at 22050 Hz, 8 bit, mono: convert it to this format and load it?</translation>
    </message>
    <message>
        <source>Converti e carica</source>
        <translation>Convert and load</translation>
    </message>
    <message>
        <source>Porta il volume al massimo senza distorcere</source>
        <translation>Raise the volume to the maximum without distortion</translation>
    </message>
    <message>
        <source>Conversione del file audio in corso...</source>
        <translation>Converting the audio file...</translation>
    </message>
    <message>
        <source>Impossibile convertire &quot;%1&quot;: non si può creare una cartella temporanea (%2).</source>
        <translation>Cannot convert &quot;%1&quot;: a temporary folder cannot be created (%2).</translation>
    </message>
</context>
<context>
    <name>TrackSource</name>
    <message>
        <source>Impossibile creare un file temporaneo in &quot;%1&quot; (%2): controllare lo spazio libero e i permessi della cartella.</source>
        <translation>Cannot create a temporary file in &quot;%1&quot; (%2): check the free space and the folder&apos;s permissions.</translation>
    </message>
    <message>
        <source>Impossibile scrivere il file temporaneo &quot;%1&quot; (%2): controllare lo spazio libero.</source>
        <translation>Cannot write the temporary file &quot;%1&quot; (%2): check the free space.</translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non contiene suoni: la sua traccia audio è vuota.</source>
        <translation>The file &quot;%1&quot; contains no sound: its audio stream is empty.</translation>
    </message>
    <message>
        <source>La parte da %1 a %2 va oltre i %3 campioni letti finora dal file &quot;%4&quot;.</source>
        <translation>The part from sample %1 to %2 goes past the %3 samples read so far from the file &quot;%4&quot;.</translation>
    </message>
</context>
<context>
    <name>WaveformView</name>
    <message>
        <source>Forma d&apos;onda</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>La parte chiara va nel lettore: trascinarla col mouse o spostarla con le frecce (Maiusc per un secondo), Inizio e Fine.</source>
        <translation>The light part goes into the player: drag it with the mouse or move it with the arrow keys (with Shift, by one second), Home and End.</translation>
    </message>
</context>
</TS>
