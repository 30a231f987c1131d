#include "help/helptexts.h"

namespace HelpTexts {

namespace {

QStringList paragraphs(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *t : texts)
        list << QString::fromUtf8(t);
    return list;
}

} // namespace

Topic archive()
{
    return {QStringLiteral("App Archivio Soci"),
            paragraphs({
                "L'app Archivio Soci è uno schedario che raccoglie i dati di tutti i soci dell'associazione. Per ogni "
                "socio si conservano cognome e nome, sesso, luogo e data di nascita, cittadinanza, indirizzo di "
                "residenza, codice fiscale, partita IVA, qualifica nell'associazione (presidente, segretario, socio "
                "ordinario, fondatore, onorario e così via), titolo di studio, lingue straniere conosciute, indirizzo "
                "e-mail, telefono di casa e cellulare, numero della tessera, documento di identità con ente di "
                "rilascio, data di rilascio e di scadenza, quota associativa versata e modalità di pagamento, date di "
                "ammissione e di cessazione e le note.",
                "Ciascuna scheda può essere corredata della foto del socio, in formato Jpeg o Bitmap, che viene "
                "ridimensionata automaticamente per stare nel riquadro di anteprima. L'icona della lente di "
                "ingrandimento mostra la foto a tutto schermo nelle sue dimensioni reali.",
                "L'archivio anagrafico può quindi essere usato come registro storico dei soci. Dalla scheda è possibile "
                "inviare un messaggio e-mail al socio e controllare la correttezza del codice fiscale o della partita "
                "IVA; i dati dei soci possono inoltre essere importati nelle pagine del Quorvel.",
                "Per inserire una scheda in archivio premere il pulsante Nuovo, compilare i campi, caricare la foto e "
                "premere Salva. Alcuni campi sono obbligatori perché i relativi dati sono richiesti dal Quorvel. Per "
                "modificare una scheda, richiamarla con le frecce di scorrimento o con la ricerca, apportare le "
                "modifiche e premere Salva.",
                "Il pulsante Duplica è utile per registrare schede simili tra loro, per esempio di familiari o "
                "colleghi: visualizzare la scheda già archiviata, premere Duplica, modificare i dati che cambiano e "
                "premere Salva.",
                "Per allegare la foto di un socio scattata con una webcam aprire la finestra di cattura, premere "
                "Accendi webcam, scattare la foto con Cattura foto, importarla nella scheda con l'apposito pulsante e "
                "infine premere Salva.",
                "E' possibile visualizzare la foto del socio a tutto schermo con l'icona dello zoom. Per ritoccarla, "
                "salvare la foto su disco, modificarla con un programma di grafica e ricaricarla con Carica; con Carica "
                "si può caricare anche una foto Jpeg scattata con una fotocamera digitale.",
                "Per trovare le schede dei soci in archivio si possono combinare uno o più filtri di ricerca, per "
                "esempio per elencare tutti i soci con la stessa qualifica o che conoscono una determinata lingua.",
                "Se si ha bisogno di ricontattare un socio, spuntare la casella Da ricontattare nella sua scheda: il "
                "pulsante con l'icona del telefono mostra il riepilogo di tutti i soci da ricontattare.",
                "La funzione Allega file consente di collegare a ogni socio fino a tre file di qualsiasi tipo, per "
                "esempio la scansione del documento di identità o della domanda di ammissione, ciascuno con una "
                "descrizione; i file allegati si aprono in qualsiasi momento con il pulsante Apri.",
                "Il pulsante Liberatoria Privacy consente di stampare il modulo per il consenso al trattamento dei dati "
                "personali e sensibili. Con lo stesso modulo il socio acconsente all'utilizzo della propria foto nel "
                "Quorvel, nell'archivio digitale e negli spazi associativi (tessere, elenchi, registri) a fini di "
                "identificazione.",
                "La scheda di ogni singolo socio può essere visualizzata in anteprima o stampata. L'intero archivio può "
                "inoltre essere esportato in un file di Excel, leggibile da qualsiasi programma che gestisce i file XLS "
                "(Open Office, Libre Office, Microsoft Office).",
            })};
}

Topic pages()
{
    return {QStringLiteral("App Gestione Pagine Quorvel"),
            paragraphs({
                "L'app Gestione Pagine Quorvel mette a disposizione l'area di lavoro in cui compilare, stampare e "
                "archiviare le pagine del Quorvel, ciascuna con i dati e le foto di otto soci.",
                "Per compilare una pagina del Quorvel premere il pulsante Nuovo (l'icona del foglio bianco) e importare "
                "i soci dall'archivio anagrafico con i pulsanti a freccia verde presenti in ciascuno degli otto "
                "riquadri.",
                "Una volta importati i dati dei soci, assegnare a ciascuno un numero progressivo, partendo dalla "
                "colonna di sinistra e procedendo verso il basso, sovrascrivendo il simbolo # all'inizio del campo con "
                "il nome del socio.",
                "La funzione di importazione provvede a riportare la foto, il cognome e nome, la qualifica, la data e "
                "il luogo di nascita, il codice fiscale, l'indirizzo e le date di ammissione e di cessazione. I dati "
                "importati possono essere modificati prima del salvataggio; il pulsante Salva (l'icona del dischetto) "
                "archivia la pagina, alla quale viene assegnato automaticamente il numero.",
                "Utilizzando le frecce di scorrimento delle schede si visualizzano la pagina precedente, la successiva, "
                "la prima e l'ultima.",
                "Anziché importare i dati dall'archivio anagrafico è possibile digitarli direttamente: premere Nuovo, "
                "fare clic sui riquadri delle foto per caricarle, compilare i campi e premere Salva. Per modificare una "
                "pagina, richiamarla con le frecce, apportare le modifiche e premere Salva.",
                "Premendo il pulsante Anteprima si ottiene l'anteprima di stampa della pagina: un foglio A4 con gli otto "
                "riquadri di foto e descrizioni, il nome del Quorvel in alto e il numero di pagina (il numero d'ordine "
                "della scheda) in basso. Il pulsante Stampa stampa direttamente la pagina.",
                "Il pulsante Frontespizio permette di creare e stampare il frontespizio del Quorvel con i dati "
                "dell'associazione (denominazione, sede legale, attività svolte, codice fiscale, estremi di iscrizione "
                "negli elenchi ufficiali, recapiti telefonici e di posta elettronica), il presidente e il segretario, "
                "il numero o il codice del libro e il totale dei soci; appositi pulsanti ne mostrano l'anteprima e lo "
                "stampano.",
            })};
}

Topic exporting()
{
    return {QStringLiteral("Esportazione archivio soci in Excel"),
            paragraphs({
                "Il pulsante Esporta archivio consente di esportare tutte le schede dei soci in un foglio di lavoro di "
                "Excel, che può essere aperto da qualsiasi programma che gestisce i file XLS.",
                "Dopo aver aperto la finestra contenente la griglia dei dati, fare clic sull'icona di Excel: viene "
                "creato subito un file XLS con tutte le schede, che può essere aperto immediatamente rispondendo sì "
                "alla domanda che segue.",
                "A questo punto è sufficiente salvare il file sul disco con il nome che si preferisce.",
            })};
}

Topic importing()
{
    return {QStringLiteral("Importazione soci da foglio di calcolo"),
            paragraphs({
                "Il pulsante Importa, sotto la griglia dell'esportazione, inserisce in archivio i soci elencati in un "
                "foglio di calcolo: un file CSV, una cartella di Excel (.xlsx), un foglio di LibreOffice (.ods) o il "
                "file Archivio_Soci.xls esportato dal programma stesso. Del file si legge il primo foglio.",
                "Il foglio deve avere una riga con le intestazioni delle colonne; sopra di essa possono esserci righe di "
                "titolo, che non vengono importate. Il programma riconosce da sé le intestazioni usuali (Cognome e "
                "nome, oppure Cognome e Nome separati, Codice fiscale o C.F., Data di nascita o Nato il, Cellulare, "
                "E-mail, Indirizzo, Comune o Città, Data iscrizione, Quota 2026 e così via); un'unica colonna Telefono "
                "va nel cellulare. Le colonne non riconosciute vengono ignorate; per scegliere il campo della scheda in "
                "cui importare una colonna fare clic sulla sua intestazione, oppure, dalla tastiera, premere Invio, la "
                "barra spaziatrice o il tasto Menu su una sua cella e scegliere il campo con le frecce: la scelta viene "
                "ricordata per le importazioni successive. Sotto la griglia si legge per intero l'esito della riga su "
                "cui si trova il cursore.",
                "Per un campo che nessuna colonna riempie (per esempio la qualifica) il pulsante Valori per tutte le "
                "righe permette di scrivere un valore che sarà dato a tutte le righe importate.",
                "Prima di scrivere qualsiasi cosa in archivio, ogni riga viene controllata e la colonna Esito ne mostra "
                "il risultato con un colore: verde per le righe pronte, rosa per quelle a cui mancano dati "
                "obbligatori, arancione per un codice fiscale errato, lilla per i soci già presenti in archivio (stesso "
                "codice fiscale, oppure stesso nome e data di nascita) o ripetuti nel file, giallo per i testi più "
                "lunghi del campo della scheda, che verrebbero tagliati, grigio per le righe che non sono soci "
                "(titoli, totali, subtotali, note a piè di pagina), che non vengono mai importate. Un CAP che non può "
                "essere italiano viene importato com'è e segnalato.",
                "Le date scritte in qualsiasi forma comune diventano gg/mm/aaaa; il sesso e la data di nascita che "
                "mancano vengono ricavati da un codice fiscale valido. Le righe pronte vengono sempre importate; le "
                "caselle sotto la griglia permettono di importare anche gli altri tipi di riga.",
                "Il pulsante Importa chiede conferma e poi inserisce tutte le righe scelte in archivio in un'unica "
                "operazione: se qualcosa va storto, o se il programma viene interrotto, non viene inserita nessuna "
                "scheda. Al termine il programma riepiloga quante righe sono state importate e quante no, e perché; il "
                "riepilogo può essere salvato in un file di testo. Le schede importate non hanno foto: la si può "
                "aggiungere in seguito dall'archivio. Se la lettura del file, l'importazione o l'esportazione durano "
                "più di mezzo secondo, una finestra ne mostra l'avanzamento con il pulsante Interrompi: "
                "un'importazione interrotta lascia l'archivio com'era, un'esportazione interrotta lascia il file "
                "esportato in precedenza.",
                "Il pulsante Annulla l'ultima importazione toglie dall'archivio le schede aggiunte dall'ultima "
                "importazione, purché nessuna di esse sia stata modificata e nessun'altra scheda sia stata aggiunta "
                "dopo; prima di toglierle ne salva una copia nella cartella Backup.",
            })};
}

Topic books()
{
    return {QStringLiteral("Creazione e apertura Quorvel"),
            paragraphs({
                "La schermata di partenza di Quorvel con Vori consente di creare un nuovo Quorvel o di gestirne uno già "
                "esistente: per prima cosa premere il pulsante dell'area di lavoro desiderata.",
                "Il fatto che tutti i file degli archivi si trovino nella cartella del programma rende semplice la "
                "copia di sicurezza: basta copiare l'intera cartella su un qualsiasi supporto (disco esterno, chiavetta "
                "USB). Per ripristinare i dati è sufficiente sovrascrivere la cartella del programma con la copia.",
                "Per generare un nuovo Quorvel premere il pulsante per la creazione di un nuovo Quorvel, digitarne il "
                "nome completo nell'apposito campo e confermare con il pulsante in basso.",
                "Quando si crea un nuovo Quorvel viene generato nella cartella del programma un file con estensione "
                "QVL, che può contenere un numero qualsiasi di pagine con le relative foto. Conviene assegnargli un nome "
                "completo, con la denominazione dell'associazione e l'anno solare.",
                "Una volta indicato il nome del Quorvel, confermare con Applica e chiudi. Tornati alla schermata di "
                "partenza, il pulsante per aprire un Quorvel esistente mostra l'elenco dei Quorvel: fare clic su un nome "
                "e premere Apri archivio.",
                "L'icona del cestino consente di eliminare il Quorvel selezionato. Va usata con attenzione: un Quorvel "
                "eliminato è perso per sempre.",
            })};
}

Topic statistics()
{
    return {QStringLiteral("Statistiche soci"),
            paragraphs({
                "Il pulsante Statistiche, sull'intestazione della scheda anagrafica, mostra i soci in archivio a colpo "
                "d'occhio, come serve per la relazione all'assemblea annuale: i soci in archivio, quelli attivi e "
                "quelli cessati, gli ammessi e i cessati nell'anno scelto e i soci da ricontattare. Ogni cifra dice "
                "sotto il suo nome il giorno o l'anno a cui si riferisce.",
                "L'elenco Anno sceglie l'anno. Per un anno passato i soci attivi, i cessati e i due grafici per età e "
                "per qualifica sono quelli del 31 dicembre di quell'anno; per l'anno in corso sono quelli di oggi. È "
                "attivo chi a quel giorno era già stato ammesso e non era ancora cessato. I soci in archivio, quelli "
                "da ricontattare e il grafico per località sono sempre quelli di oggi.",
                "I quattro grafici riportano i soci attivi alla fine di ogni anno con gli ammessi e i cessati, i soci "
                "attivi per fascia di età divisi tra donne e uomini, i soci attivi per qualifica e tutti i soci per "
                "località di residenza: le dieci più numerose, poi Altre località e Non indicato, così che le barre "
                "diano il totale. Età e sesso sono presi dalla scheda o, se mancano, da un codice fiscale valido.",
                "Le date vuote o scritte in modo diverso da gg/mm/aaaa e il sesso non indicato sono contati alla voce "
                "Non indicato: nessun socio viene tralasciato. Un socio senza data di ammissione leggibile è contato "
                "tra gli attivi solo oggi; uno con una data di cessazione illeggibile è contato tra i cessati di "
                "oggi.",
                "Anteprima e Stampa producono una pagina con le cifre e i grafici dell'anno scelto; Esporta CSV salva "
                "le tabelle dei grafici, con tutte le località, in un file che si apre con qualsiasi foglio di "
                "calcolo.",
            })};
}

Topic fees()
{
    return {QStringLiteral("Quote associative"),
            paragraphs({
                "Il pulsante Quote, sull'intestazione della scheda anagrafica accanto a Statistiche, apre le quote "
                "associative del socio mostrato: l'elenco dei suoi versamenti anno per anno, ciascuno con la sua "
                "ricevuta. La scheda deve essere già salvata in archivio.",
                "Per registrare un versamento scegliere l'anno, controllare la data (oggi) e l'importo (la quota "
                "dell'anno, se indicata nelle impostazioni), scegliere la modalità e premere Registra: il versamento "
                "riceve il numero di ricevuta successivo dell'anno, per esempio 12/2026. I numeri non hanno buchi e "
                "due computer che registrano nello stesso momento non ricevono mai lo stesso numero.",
                "Ricevuta mostra la ricevuta del versamento scelto, da stampare o salvare in PDF: sta nella metà "
                "superiore di un foglio A4. Una ricevuta sbagliata non si cancella: Annulla ricevuta la segna come "
                "ANNULLATA, con il motivo, e il suo numero non viene più usato.",
                "Impostazioni raccoglie il nome, l'indirizzo e il codice fiscale dell'associazione, stampati sulle "
                "ricevute, e la quota di ogni anno. Chi non ha versato elenca i soci attivi alla fine dell'anno scelto "
                "(oggi, per l'anno in corso) che non hanno versato la quota di quell'anno: l'elenco si stampa, si "
                "esporta in CSV e ne copia gli indirizzi e-mail per un unico messaggio in copia nascosta.",
                "I versamenti sono nel file Quote.sqlite della cartella del programma, copiato ogni giorno nella "
                "cartella Backup come gli altri archivi.",
            })};
}

Topic backups()
{
    return {QStringLiteral("Copie di sicurezza"),
            paragraphs({
                "Il programma, ogni giorno, prima della prima modifica, copia l'archivio dei soci, ogni registro, "
                "il file delle quote e ogni file di impostazione (frontespizio, privacy, password) nella cartella Backup, dentro la cartella "
                "del programma. Le copie hanno il nome del file seguito dalla data, per esempio "
                "Archivio_Anagrafico_2026-12-11.pro, e restano per gli ultimi 30 giorni fino a oggi: le più "
                "vecchie vengono eliminate da sole. Le copie fatte da un ripristino, e quelle con una data che deve "
                "ancora venire (per un orologio del computer andato avanti), non vengono mai eliminate.",
                "La copia non rallenta il lavoro: un archivio molto grande viene copiato mentre si continua a "
                "lavorare, e resta il file com'era prima della prima modifica del giorno anche se nel frattempo "
                "salva un'altra copia del programma o se il programma viene chiuso a metà della copia: la copia "
                "viene completata al salvataggio successivo. Se non è possibile ricostruire il file com'era, la copia "
                "prende l'ora nel nome e un messaggio lo segnala. Se la copia non riesce, per esempio perché il disco "
                "è pieno, il salvataggio avviene comunque e un messaggio lo segnala.",
                "Per riportare un file com'era in un giorno passato, fare clic sull'icona Copie di sicurezza della "
                "schermata di partenza, scegliere la copia nell'elenco, che ne mostra il giorno e l'ora, e premere "
                "Ripristina. Il file attuale viene prima copiato a sua volta nella cartella Backup, con data e ora "
                "nel nome, così nulla va perso. Una copia danneggiata, o che non è un file del suo tipo, non viene "
                "ripristinata. Il ripristino non è possibile mentre l'archivio o il registro è aperto in un'altra "
                "copia del programma, per esempio su un altro computer della rete.",
            })};
}

// The launcher's topic as it has always been; the daily copies have their
// own topic (the backups window's F1) and their own section of Guida.pdf.
Topic guide()
{
    QStringList all = paragraphs({
        "Quorvel con Vori è un software rivolto ad enti associativi, come associazioni sportive dilettantistiche e "
        "associazioni culturali, ricreative, filantropiche e assistenziali senza scopo di lucro, per la tenuta del "
        "registro dei soci con i loro dati e le loro foto. Il programma crea una banca dati dei soci dalla quale le "
        "pagine del registro si compilano rapidamente per importazione.",
        "Come è noto, il Quorvel è il registro che ogni associazione deve tenere presso la propria sede legale, in "
        "forma cartacea o digitale purché se ne possa produrre rapidamente una stampa su carta, e che deve essere "
        "esibito, aggiornato, alle autorità di controllo (Agenzia delle Entrate, Guardia di Finanza, Polizia "
        "Municipale). Si può tenere un registro per ogni anno solare oppure uno solo per l'intera vita "
        "dell'associazione; con il programma si possono creare e aggiornare in qualsiasi momento tutti i registri "
        "che si desidera.",
    });
    all << books().paragraphs << pages().paragraphs << archive().paragraphs;
    all << paragraphs({
        "Quorvel con Vori può essere utilizzato anche in una rete locale: gli archivi possono essere condivisi tra "
        "più postazioni di lavoro.",
        "L'accesso al software è protetto da una password che l'utente può cambiare tutte le volte che lo desidera. "
        "Per il primo accesso la parola chiave è \"lucernaoctavia\", da digitare senza le virgolette.",
        "Quorvel con Vori può essere utilizzato anche su chiavetta USB: basta copiare la cartella del programma sulla "
        "chiavetta e fare doppio clic sull'applicazione che vi si trova. Copiare la cartella su un dispositivo "
        "esterno è anche il modo più rapido per fare una copia di sicurezza.",
        "Quorvel con Vori è quindi lo strumento ideale per le associazioni che gestiscono l'archivio dei propri "
        "soci e tengono il registro in forma cartacea e digitale, e non richiede quasi alcun tempo di "
        "apprendimento.",
    });
    return {QStringLiteral("Uno sguardo a Quorvel con Vori"), all};
}

} // namespace HelpTexts
