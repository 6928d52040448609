<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>AudioConverter</name>
    <message>
        <source>Il file &quot;%1&quot; è troppo lungo per un file WAV.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AudioDecoder</name>
    <message>
        <source>Il file &quot;%1&quot; non contiene audio (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; ha %2 canali audio: se ne convertono da 1 a %3 (%4).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; ha una frequenza di campionamento di %2 Hz: se ne convertono da %3 a %4 Hz (%5).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non si può leggere fino in fondo: è danneggiato o illeggibile (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non contiene suoni: la sua traccia audio è vuota (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; è incompleto: contiene %2 dei %3 che dichiara (%4).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sconosciuto</source>
        <comment>codec</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PCM %1 bit virgola mobile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PCM %1 bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; è danneggiato e non si può convertire (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non è un file audio leggibile (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il formato audio del file &quot;%1&quot; non è supportato (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memoria insufficiente per leggere il file &quot;%1&quot; (%2).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AudioInfo</name>
    <message>
        <source>mono</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stereo</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n canali</source>
        <translation>
            <numerusform>%n canale</numerusform>
            <numerusform>%n canali</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CDiagnosticsDlg</name>
    <message>
        <source>Byte inviati</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;ultimo report mandato al lettore, in esadecimale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Byte ricevuti</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I report arrivati dal lettore, in esadecimale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Registro</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ogni report scambiato con il lettore e ogni evento</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlanDlg</name>
    <message>
        <source>Carica più file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Questi file andranno nel lettore, uno per brano:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Durata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brano</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parte caricata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File da caricare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Modifica...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sceglie nella finestra del brano la parte del file selezionato che va nel lettore.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carica tutti</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlayerApp</name>
    <message>
        <source>Brano %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore ora è diviso in %1; caricando questo brano con la divisione in %2, lo spazio che occupa cancella dal lettore %3: %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n brani</source>
        <comment>division</comment>
        <translation>
            <numerusform>un brano</numerusform>
            <numerusform>%n brani</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>i brani</source>
        <comment>erased</comment>
        <translation>
            <numerusform>il brano</numerusform>
            <numerusform>i brani</numerusform>
        </translation>
    </message>
    <message>
        <source>Il lettore ora è diviso in %1; la divisione in %2 cancella dal lettore %3: %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>a track&apos;s name and its length</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessuno dei file si può caricare:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(non si è potuto aprire)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(non risponde)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore %1 è occupato: un altro programma vi sta caricando dei brani.
Riprovare quando avrà finito.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(occupato: un altro programma vi sta caricando dei brani)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlayerDlg</name>
    <message>
        <source>Brano</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il brano a cui si riferiscono Carica file, Suona e Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il testo con cui il lettore collegato si presenta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il brano che il lettore suona quando viene premuto il suo tasto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore ripete il brano finché non viene fermato</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Divide la memoria del lettore in %1 da %2 s ciascuno</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Suona</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lettore: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Durata massima: %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File audio supportati (%1);;File audio (*.wav);;File audio MP3 (*.mp3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrompi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;Lettore USB non trovato&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scegliere un brano</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scegliere prima un brano nella lista: il file andrà lì.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessun lettore collegato: collegarlo per caricare un file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carica uno o più file audio, dal brano scelto in poi.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nella cartella &quot;%1&quot; non c&apos;è nessun file audio da caricare: trascinare i file audio, o la cartella che li contiene.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>a player&apos;s text and its path</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2, numero di serie %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;Nessun lettore in uso: sceglierne uno dal menu&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fare clic con il tasto destro sulla finestra per scegliere tra i lettori collegati.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CProgressDlg</name>
    <message>
        <source>Tempo rimanente</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tempo rimanente: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — %2%</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRegSettings</name>
    <message>
        <source>la chiave non si può aprire</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il registro non ha accettato i valori</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le impostazioni non sono state salvate in &quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>è un collegamento a un file che non esiste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>non è un file normale; toglierlo per salvarle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il file è in sola lettura</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la cartella non si può creare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un altro programma lo sta usando</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il file non si può leggere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il file non si può scrivere (disco pieno?)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTrackDlg</name>
    <message>
        <source>Prepara il brano</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lo spazio scelto contiene %1 s: va nel lettore la parte chiara.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inizio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dove comincia la parte, in minuti, secondi e decimi (1:23,4).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parte più forte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Porta la parte dove il brano suona più forte.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dissolvenza iniziale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dissolvenza finale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Porta il volume al massimo senza distorcere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Inizio:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Dissolvenze, iniziale:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ascolta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carica</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume dell&apos;ascolto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il volume dell&apos;ascolto sul computer; il brano caricato non cambia.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Volume dell&apos;ascolto:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lettura del file: %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Questo computer non ha un&apos;uscita audio.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Suona la parte come la suonerà il lettore (Spazio).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ferma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile ascoltare la parte: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Finale:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CapturedViewMenu</name>
    <message>
        <source>Copia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Salva in un file di testo...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Svuota</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File di testo (*.txt);;Tutti i file (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile salvare &quot;%1&quot;: %2. Scegliere un&apos;altra cartella o un altro nome.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CliTool</name>
    <message>
        <source>Vedere: zoffino --help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sì</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il brano (da 1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Divide la memoria in 1, 2, 4 o 8 brani.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BRANI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ripetizione: on oppure off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore suona un brano al tocco del suo tasto: 1 sì, 0 no.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>comando</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manca il comando.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comando sconosciuto: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non vuole altro dopo di sé: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non accetta --%2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--partition vuole 1, 2, 4 o 8.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lettore: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brani: %1
Loop: %2
Default: %3
Report: %4 byte in ingresso, %5 in uscita</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Con %n brani: %1 s ciascuno</source>
        <translation>
            <numerusform>Con 1 brano: %1 s ciascuno</numerusform>
            <numerusform>Con %n brani: %1 s ciascuno</numerusform>
        </translation>
    </message>
    <message>
        <source>play vuole il numero di un brano, da 1 a %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--loop vuole on oppure off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--default vuole 1 oppure 0.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brani: %1
Loop: %2
Default: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>load vuole un FILE e --track N, con N da 1 a %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; non è un file di questo computer: si caricano solo file locali, indicati con il loro percorso.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrotto: nulla è stato inviato al lettore.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore non ha preso il comando: scollegarlo, ricollegarlo e riprovare.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>convert vuole il FILE da leggere e il file WAV da scrivere.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scritto: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>preview vuole il FILE da ascoltare.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessuna uscita audio su questo computer: impossibile ascoltare.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In ascolto: %1 s, come li suonerà il lettore. Ctrl+C per fermare.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caricato: &quot;%1&quot; nel brano %2 di %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brano %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--track vuole il primo brano, da 1 a %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Risponde sì alle domande (conversione, taglio, brani cancellati).</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>list, info, load, convert, preview, play, stop o config</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>numero di serie %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Gestisce i brani del lettore audio Zoffino USB (vendor 115f, product 0230).
Senza opzioni usa il lettore collegato, attraverso hidapi.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Argomento sconosciuto: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Con --simulate senza FILE la memoria simulata è in
  %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mostra questo aiuto.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mostra il numero di versione del programma.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usa un lettore simulato, con la memoria da 1 MiB nel FILE (creata cancellata se manca). --simulate senza FILE: nella cartella dei dati dell&apos;utente.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Con --simulate: ogni report impiega US microsecondi sul bus simulato (1000 come su USB full-speed; predefinito 0).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>US</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--simulate: nessuna cartella dei dati; indicare --simulate=FILE.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--simulate= vuole il nome di un file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--report-time vuole un numero di microsecondi da 0 a %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--report-time vale solo per il lettore simulato (--simulate).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vedere: %1 --help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;immagine &quot;%1&quot; è in sola lettura: il lettore simulato mostra e suona quello che contiene, ma non può tenere brani nuovi né un&apos;altra configurazione. Per cambiarla, renderla scrivibile (chmod u+w) o indicarne un&apos;altra.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usa il lettore al PERCORSO (come lo mostra zoffino list), non il primo collegato.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PERCORSO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--device vuole il percorso di un lettore (zoffino list li mostra).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DecodeLoop</name>
    <message>
        <source>Il file &quot;%1&quot; non si può convertire (%2).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Durations</name>
    <message>
        <source>,</source>
        <comment>decimal separator</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FlashImage</name>
    <message>
        <source>Impossibile scrivere l&apos;immagine &quot;%1&quot;: controllare che il disco non sia pieno e che il file non sia di sola lettura.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile esaminare l&apos;immagine &quot;%1&quot; (%2): controllare il percorso e i permessi delle cartelle.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non è un&apos;immagine della memoria del lettore: deve essere un file di esattamente %2 byte. Indicare un&apos;altra immagine, o il nome di un file che non esiste per crearne una nuova.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile aprire l&apos;immagine &quot;%1&quot; in lettura e scrittura: controllarne i permessi.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile creare l&apos;immagine &quot;%1&quot;: controllare che la cartella esista e sia scrivibile.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;immagine &quot;%1&quot; è usata da un altro programma: due lettori sulla stessa immagine mescolerebbero i loro blocchi. Chiudere l&apos;altro programma o indicare un&apos;altra immagine.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile leggere l&apos;immagine &quot;%1&quot;: controllarne i permessi o indicare un&apos;altra immagine.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IDD_ABOUTBOX</name>
    <message>
        <source>Informazioni su Zoffino USB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Programma Gestione Zoffino USB versione 1.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Quenmark Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IDD_DIAGNOSTICS</name>
    <message>
        <source>Diagnostica Zoffino USB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tipo 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tipo 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tipo 8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tipo 13 test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EEW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Byte inviati</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Byte ricevuti</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IDD_PLAYER</name>
    <message>
        <source>Gestione Zoffino USB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brano:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brano 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carica file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;1 brano</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;2 brani</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;4 brani</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;8 brani</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Loop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Suona</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostica</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IDD_PROGRESS</name>
    <message>
        <source>in corso...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Annulla</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpenFailureAdvice</name>
    <message>
        <source>La regola udev è installata (%1): caricarla in un terminale con
    sudo udevadm control --reload
    sudo udevadm trigger
poi scollegare e ricollegare il lettore.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installare una volta la regola udev, in un terminale:
    echo &apos;%1&apos; | sudo tee /etc/udev/rules.d/70-zoffino.rules
    sudo udevadm control --reload
    sudo udevadm trigger
poi scollegare e ricollegare il lettore.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessun lettore Zoffino USB è collegato. Collegarlo: verrà riconosciuto appena inserito, senza riavviare il programma.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

Su Linux serve anche, una volta sola, la regola udev che dà il lettore all&apos;utente. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore è collegato, ma questo utente non ha il permesso di usarlo.

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore è collegato, ma non si è potuto aprire (%1). Scollegarlo e ricollegarlo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore è collegato, ma questo utente non ha il permesso di usarlo: chiedere all&apos;amministratore del computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--device %1: non è un lettore Zoffino USB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--device %1: non esiste.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessun lettore Zoffino USB è collegato.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lettori collegati: %1. Indicarne uno con --device, o togliere --device per usare il primo.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PartOptions</name>
    <message>
        <source>Dove comincia la parte del file che va nel brano (predefinito 0:00).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La parte del file che suona più forte, lunga quanto il brano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dissolvenza iniziale in secondi, da 0 a 2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dissolvenza finale in secondi, da 0 a 2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lascia il volume com&apos;è, senza portarlo al massimo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--start e --loudest non vanno insieme: scegliere uno dei due.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--start vuole un momento del file come 1:23.4 (minuti, secondi, decimi).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 vuole i secondi della dissolvenza, da 0 a 2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PartRenderer</name>
    <message>
        <source>Impossibile rileggere il file temporaneo &quot;%1&quot; (%2).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlayerWavWriter</name>
    <message>
        <source>Impossibile scrivere il file convertito &quot;%1&quot; (%2): controllare lo spazio libero e i permessi della cartella.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QtSoundOutput</name>
    <message>
        <source>l&apos;uscita audio non si è aperta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l&apos;uscita audio non ha preso i campioni</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>i campioni non sono arrivati in tempo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>il server audio non risponde</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l&apos;uscita audio si è fermata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessuna uscita audio: il computer non ne ha una, o il suo server audio non risponde.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;uscita audio «%1» non accetta il suono del lettore (8 bit, 22050 Hz, mono).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;uscita audio non suona: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetLoader</name>
    <message>
        <source>File %1 di %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>conversione di &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Caricamento di %n file in corso...</source>
        <translation>
            <numerusform>Caricamento di %n file in corso...</numerusform>
            <numerusform>Caricamento di %n file in corso...</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SetOutcome</name>
    <message>
        <source>&quot;%1&quot; nel brano %2 di %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Completo: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrotto: %1 contiene solo i primi %2 s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non inviato: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saltato: &quot;%1&quot;, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Caricati %n file nel lettore.</source>
        <translation>
            <numerusform>Caricato %n file nel lettore.</numerusform>
            <numerusform>Caricati %n file nel lettore.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SetPlan</name>
    <message>
        <source>Brano %1 di %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>non si carica: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>non entra: il lettore tiene al massimo %n brani</source>
        <translation>
            <numerusform>non entra: il lettore tiene al massimo %n brano</numerusform>
            <numerusform>non entra: il lettore tiene al massimo %n brani</numerusform>
        </translation>
    </message>
    <message>
        <source>tutto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la parte più forte, %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>da %1 a %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Il lettore sarà diviso in %n brani da %1 s ciascuno.</source>
        <translation>
            <numerusform>Il lettore avrà %n brano solo, da %1 s.</numerusform>
            <numerusform>Il lettore sarà diviso in %n brani da %1 s ciascuno.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Questa divisione cancella dal lettore %n brani: %1.</source>
        <translation>
            <numerusform>Questa divisione cancella dal lettore %n brano: %1.</numerusform>
            <numerusform>Questa divisione cancella dal lettore %n brani: %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Entrano %1 file su %2: gli altri non hanno un brano libero.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n file non si possono caricare e saranno saltati.</source>
        <translation>
            <numerusform>%n file non si può caricare e sarà saltato.</numerusform>
            <numerusform>%n file non si possono caricare e saranno saltati.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1. &quot;%2&quot; (%3) → %4: %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carica tutti</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>ZoffinoUSB è già aperto: la sua finestra è stata portata in primo piano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZoffinoUSB è già aperto ma non risponde: chiuderlo prima di aprirlo di nuovo.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SourceFile</name>
    <message>
        <source>una cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>una pipe con nome (FIFO)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un socket</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un dispositivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un file speciale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; non è un file audio ma %2: sceglierne uno normale.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non si ha il permesso di leggere il file &quot;%1&quot;: controllarne i permessi o sceglierne un altro.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile aprire il file &quot;%1&quot; (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; si è accorciato mentre veniva letto: il brano sul lettore è incompleto. Ricaricarlo quando il file non cambia più.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Errore di lettura del file &quot;%1&quot; (%2): il brano sul lettore è incompleto. Controllare il supporto e ricaricarlo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; è cambiato mentre veniva letto: il brano sul lettore può essere incompleto o mescolato. Ricaricarlo quando il file non cambia più.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non esiste: è stato spostato o cancellato? Sceglierne un altro.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>&amp;Informazioni su ZoffinoUSB...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TerminalProgress</name>
    <message>
        <source>  tempo rimanente %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TerminalUi</name>
    <message>
        <source>%1: sì (--yes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessuna risposta possibile senza terminale: usare --yes per accettare.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1? [s/N]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1? [S/n]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrackDownload</name>
    <message>
        <source>Errore: formato file inadatto!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non contiene suoni: ha meno dei %2 campioni che il lettore scrive alla volta.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download file audio in corso...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; nel brano %2 di %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download interrotto: il brano sul lettore contiene solo i primi %1 s del file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download del brano non riuscito: il lettore non ha risposto (blocco all&apos;indirizzo 0x%1).
Sono arrivati al lettore %2 byte del brano su %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrackLoader</name>
    <message>
        <source>Il brano &quot;%1&quot; dura %2, ma lo spazio scelto ne contiene solo %3: il resto verrà tagliato.

Caricare solo l&apos;inizio del brano?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; è in formato %2.

Il lettore suona solo file WAV a 22050 Hz, 8 bit, mono: convertirlo in questo formato e caricarlo?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converti e carica</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Porta il volume al massimo senza distorcere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile convertire &quot;%1&quot;: non si può creare una cartella temporanea (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversione del file audio in corso...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrackSource</name>
    <message>
        <source>Impossibile creare un file temporaneo in &quot;%1&quot; (%2): controllare lo spazio libero e i permessi della cartella.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile scrivere il file temporaneo &quot;%1&quot; (%2): controllare lo spazio libero.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file &quot;%1&quot; non contiene suoni: la sua traccia audio è vuota.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La parte da %1 a %2 va oltre i %3 campioni letti finora dal file &quot;%4&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WaveformView</name>
    <message>
        <source>Forma d&apos;onda</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La parte chiara va nel lettore: trascinarla col mouse o spostarla con le frecce (Maiusc per un secondo), Inizio e Fine.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
