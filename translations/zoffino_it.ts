<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
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
        <source>Gestione da riga di comando del lettore Zoffino USB.

Comandi:
  info                   testo, configurazione e spazi del lettore
  load FILE --track N    carica un file audio nel brano N
  play N                 suona il brano N
  stop                   ferma il lettore
  config                 mostra o cambia la configurazione</source>
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
        <source>Risponde sì alle domande (conversione, taglio).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>comando</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>info, load, play, stop o config</source>
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
</context>
<context>
    <name>Durations</name>
    <message>
        <source>,</source>
        <comment>decimal separator</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
