#include "documents/privacydocument.h"

#include "base/blanks.h"
#include "base/fixedtext.h"

#include <QStringList>

namespace PrivacyDocument {

namespace {

// The six long texts of the notice. Their lengths, escapes counted, are
// fixed: a document comes out byte for byte as every earlier one, so that
// documents already printed and signed can be compared with a new one.
// 801 characters.
const char *const kT1 =
    "\\par \\b0 I dati vengono trattati in relazione alle esigenze contrattuali ed ai conseguenti adempim"
    "enti degli obblighi legali e contabili, nonch\\'e9 per la gestione amministrativa dei rapporti assoc"
    "iativi. Il trattamento si svolge mediante strumenti manuali e informatici, con logiche correlate all"
    "e finalit\\'e0 indicate e in modo da garantire la sicurezza e la riservatezza dei dati. I dati sono "
    "conservati in archivi cartacei ed elettronici custoditi presso la sede sociale dell'Associazione, pr"
    "otetti da misure idonee a prevenirne la perdita, l'uso illecito e l'accesso non autorizzato. I dati "
    "saranno conservati per la durata del rapporto associativo e, successivamente, per il tempo necessari"
    "o all'adempimento degli obblighi di legge e per future finalit\\'e0 fiscali tra l'Associazione e il "
    "Socio.";

// 1428 characters.
const char *const kT2 =
    "\\par \\b0 I soggetti o le categorie di soggetti ai quali i dati personali potranno essere comunicat"
    "i, o che potranno venirne a conoscenza in qualit\\'e0 di incaricati o responsabili del trattamento, "
    "sono esclusivamente i seguenti: gli organi statutari dell'Associazione, il Consiglio Direttivo e i S"
    "oci che svolgono incarichi associativi, limitatamente ai dati necessari allo svolgimento delle loro "
    "funzioni; gli altri Soci, per i soli dati che compaiono nel Quorvel tenuto a norma di statuto; i pro"
    "fessionisti esterni che prestano consulenza contabile, fiscale, legale o del lavoro all'Associazione"
    ", nei limiti dell'incarico ricevuto; le societ\\'e0 che forniscono servizi informatici, di manutenzi"
    "one dei sistemi e di gestione amministrativa; gli istituti bancari per la riscossione delle quote as"
    "sociative; gli enti pubblici e privati, le federazioni e gli enti di promozione ai quali l'Associazi"
    "one aderisce, quando la comunicazione sia richiesta da norme di legge, di regolamento o dallo statut"
    "o. I dati non saranno diffusi, n\\'e9 trasferiti verso Paesi terzi o organizzazioni internazionali a"
    "l di fuori dell'Unione Europea. Ai dati possono accedere soltanto le persone autorizzate dal Titolar"
    "e, che hanno ricevuto adeguate e specifiche istruzioni operative scritte e che operano sotto la sua "
    "diretta autorit\\'e0, ciascuna per la parte di propria competenza; chiunque vi acceda \\'e8 tenuto a"
    "l segreto da clausola contrattuale.";

// 948 characters.
const char *const kT3 =
    "\\par \\pard\\qj\\b0 Preso atto dell'informativa ricevuta ai sensi del Regolamento UE 2016/679, il S"
    "ocio \\'e8 consapevole che il conferimento dei dati personali \\'e8 necessario per l'instaurazione e"
    " la gestione del rapporto associativo e che l'eventuale e motivato rifiuto di prestare il consenso a"
    "l loro trattamento comporta, per ragioni organizzative, l'impossibilit\\'e0 per l'Associazione di da"
    "re corso alla domanda di ammissione e di adempiere agli obblighi che ne derivano. Il trattamento dei"
    " dati che rivelano lo stato di salute, le convinzioni religiose o altre categorie particolari di dat"
    "i avverr\\'e0 soltanto con il consenso espresso per iscritto dall'interessato e nei soli limiti stre"
    "ttamente necessari alle finalit\\'e0 associative. I dati saranno conservati per la durata del rappor"
    "to e, dopo la sua cessazione, per l'intero periodo prescritto dalla legge vigente dalle norme in mat"
    "eria fiscale e contabile e dalle norme del Codice civile.";

// 612 characters.
const char *const kT4 =
    "\\par \\b 2.\\b0  Il Socio ha diritto di ottenere l'indicazione: a) dell'origine dei dati personali;"
    " b) delle finalit\\'e0 e modalit\\'e0 del trattamento e della sua base giuridica che lo rende lecito"
    "; c) della logica e dei criteri applicati in caso di trattamento effettuato con l'ausilio di strumen"
    "ti elettronici; d) degli estremi identificativi del titolare, dei responsabili del trattamento e del"
    " responsabile della protezione dei dati; e) dei soggetti o delle categorie di soggetti ai quali i da"
    "ti personali possono essere comunicati o che possono venirne a conoscenza in qualit\\'e0 di responsa"
    "bili o incaricati.";

// 947 characters.
const char *const kT5 =
    "\\par \\b 3.\\b0  Il Socio ha diritto di ottenere: a) l'aggiornamento, la rettifica ovvero, quando v"
    "i abbia interesse, l'integrazione dei dati che lo riguardano; b) la cancellazione, la trasformazione"
    " in forma anonima o il blocco dei dati trattati in violazione di legge, compresi quelli di cui non "
    "\\'e8 necessaria la conservazione in relazione agli scopi per i quali i dati sono stati raccolti o s"
    "uccessivamente trattati; c) l'attestazione che le operazioni di cui alle lettere a) e b) sono state "
    "portate a conoscenza, anche per quanto riguarda il loro contenuto, di coloro ai quali i dati sono st"
    "ati comunicati, eccettuato il caso in cui tale adempimento si riveli impossibile o comporti un impie"
    "go di mezzi sproporzionato rispetto al diritto tutelato; d) la portabilit\\'e0 dei dati, ricevendoli"
    " in un formato ben strutturato e di uso comune, e il diritto di trasmetterli ad altro titolare senza"
    " impedimenti da parte del titolare cui li ha forniti.";

// 686 characters.
const char *const kT6 =
    "\\par \\b 4.\\b0  Il Socio ha diritto di opporsi, in tutto o in parte: a) per motivi legittimi e doc"
    "umentati al trattamento dei dati personali che lo riguardano, ancorch\\'e9 pertinenti allo scopo del"
    "la raccolta; b) al trattamento dei dati personali che lo riguardano ai fini di invio di materiale pu"
    "bblicitario o di comunicazioni commerciali. Il Socio pu\\'f2 revocare in qualsiasi momento il consen"
    "so prestato, senza pregiudicare la liceit\\'e0 del trattamento basato sul consenso dato prima della "
    "revoca, e ha inoltre il diritto di proporre reclamo motivato all'autorit\\'e0 di controllo competent"
    "e. Per l'esercizio dei propri diritti, il Socio potrà rivolgersi al Titolare del trattamento.";

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\\' || c == u'{' || c == u'}')
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace

QStringList pieces(const Values &values)
{
    const auto v = [&values](QString Values::*value) { return escaped(Blanks::trimmed(values.*value)); };
    const auto s = [](const char *text) { return QString::fromUtf8(text); };
    const auto memberDetails = [&](const char *opening) {
        return s(opening) + v(&Values::member) + s("\\b0 , nato a \\b ") + v(&Values::birthTown) + s("\\b0  (\\b ")
            + v(&Values::birthProvince);
    };
    QStringList parts;
    parts << s("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1040{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New "
                "Roman;}{\\f1\\fnil Verdana;}}")
           << s("{\\colortbl ;\\red0\\green0\\blue0;}")
           << s("\\viewkind4\\uc1\\pard\\qc\\b\\f0\\fs40 Consenso al trattamento dei dati personali e sensibili")
           << s("\\par \\b0\\fs28 (Informativa ai sensi del Regolamento UE 2016/679)")
           << s("\\par ") + QString(54, u'_') << s("\\par");
    // 7: the association and the member.
    parts << s("\\par \\pard\\qj\\fs24 Ai sensi del Regolamento UE 2016/679 (Regolamento Generale sulla Protezione dei "
                "Dati - General Data Protection Regulation - GDPR), la presente Associazione \\b ")
                  + v(&Values::association) + s("\\b0 , con") + s(" sede a \\b ") + v(&Values::associationTown) + s("\\b0  (\\b ")
                  + v(&Values::associationProvince) + s("\\b0 ), CAP: \\b ") + v(&Values::associationPostcode) + s("\\b0 , in \\b ")
                  + v(&Values::associationAddress) + s("\\b0 , codice fiscale: \\b ") + v(&Values::associationFiscalCode)
                  + s("\\b0 , partita") + s(" IVA: \\b ") + v(&Values::associationVatNumber) + s("\\b0 , recapiti telefonici: \\b ")
                  + v(&Values::associationPhone)
                  + s("\\b0 , informa che i dati qualificati come personali dalla legge (ivi compresi i dati "
                      "anagrafici, di contatto, fiscali e la propria immagine fotografica),")
                  + memberDetails(" ad essa forniti dal Socio Sig. \\b ") + s("\\b0 ) il \\b ") + v(&Values::birthDate)
                  + s("\\b0 , residente") + s(" a \\b ") + v(&Values::residenceTown) + s("\\b0  (\\b ") + v(&Values::residenceProvince)
                  + s("\\b0 ), CAP: \\b ") + v(&Values::postcode) + s("\\b0  in \\b ") + v(&Values::address)
                  + s("\\b0 , codice") + s(" fiscale: \\b ") + v(&Values::fiscalCode) + s("\\b0 , recapito telefonico: \\b ")
                  + v(&Values::phone) + s("\\b0 , saranno trattati come di seguito descritto:");
    parts << s("\\par") << s("\\par \\b 1. Finalit\\'e0 e modalit\\'e0 del trattamento cui sono destinati i dati.")
           << s(kT1) << s("\\par")
           << s("\\par \\b 2. Natura obbligatoria o facoltativa del conferimento e conseguenze al rifiuto del consenso.")
           << s("\\par \\b0 Il conferimento dei dati \\'e8 obbligatorio per tutto quanto \\'e8 richiesto dagli obblighi "
                "legali e contrattuali e pertanto l'eventuale rifiuto a fornirli o al successivo trattamento potr\\'e0 "
                "determinare l'impossibilit\\'e0 dell'Associazione a dar corso ai rapporti contrattuali medesimi. Il "
                "mancato conferimento, invece, di tutti i dati che non siano riconducibili ad obblighi legali o "
                "contrattuali verr\\'e0 valutato di volta in volta dall'Associazione e determiner\\'e0 le conseguenti "
                "decisioni rapportate all'importanza dei dati richiesti rispetto alla gestione del rapporto "
                "contrattuale.")
           << s("\\par") << s("\\par \\b 3. Soggetti che possono venire a conoscenza dei dati.") << s(kT2) << s("\\par")
           << s("\\par \\b 4. Diritti degli interessati.")
           << s("\\par \\b0 Relativamente ai propri dati, gli interessati possono esercitare i diritti previsti dal "
                "Regolamento Generale sulla Protezione dei Dati (General Data Protection Regulation - GDPR) nei "
                "limiti ed alle condizioni previste dagli articoli dal medesimo Regolamento.")
           << s("\\par") << s("\\par \\b 5. Titolare del trattamento dati.")
           << s("\\par \\b0 Titolare del trattamento dei dati, nonché Responsabile del trattamento e Responsabile "
                "protezione dati (RPD) o Data Protection Officer (DPO) è l'Associazione, rappresentata dal Sig. \\b ")
                  + v(&Values::privacyHolder) + s("\\b0 , domiciliato per la carica nella sede della stessa Associazione.")
           << s("\\par") << s("\\par \\pard\\qc\\b Consenso dell'interessato") << s(kT3) << s("\\par")
           << s("\\par \\pard\\qc\\b Diritto di accesso ai dati personali ed altri diritti")
           << s("\\par \\pard\\qj 1.\\b0  Il Socio ha diritto di ottenere la conferma dell'esistenza o meno di dati "
                "personali che lo riguardano, anche se non ancora registrati, e la loro comunicazione in forma "
                "intelligibile.")
           << s(kT4) << s(kT5) << s(kT6) << s("\\par") << s("\\par \\pard\\qc\\b DICHIARAZIONE DEL SOCIO") << s("\\par");
    // 35: the member's declaration.
    parts << memberDetails("\\par \\pard\\qj\\b0 Io sottoscritto \\b ") + s("\\b0 ) il") + s(" \\b ")
                  + v(&Values::birthDate) + s("\\b0 , residente a \\b ") + v(&Values::residenceTown) + s("\\b0  (\\b ")
                  + v(&Values::residenceProvince) + s("\\b0 ), CAP: \\b ") + v(&Values::postcode) + s("\\b0  in \\b ") + v(&Values::address)
                  + s("\\b0 , codice") + s(" fiscale: \\b ") + v(&Values::fiscalCode)
                  + s("\\b0 , esprimo il mio libero consenso al trattamento dei dati personali e all'utilizzo della "
                      "mia immagine fotografica. A tal fine dichiaro di essere stato informato su:");
    parts << s("\\par \\b 1)\\b0  le finalit\\'e0 e le modalit\\'e0 del trattamento cui sono destinati i dati, "
                "connesse con le attivit\\'e0 svolte dall'Associazione;")
           << s("\\par \\b 2)\\b0  i soggetti o le categorie di soggetti ai quali i dati personali possono essere "
                "comunicati o che possono venirne a conoscenza in qualit\\'e0 di incaricati;")
           << s("\\par \\b 3)\\b0  il diritto di accesso ai dati personali, la facolt\\'e0 di chiederne "
                "l'aggiornamento, la rettifica, l'integrazione e la cancellazione nonch\\'e9 di oppormi all'invio di "
                "comunicazioni commerciali;")
           << s("\\par \\b 4)\\b0  il nome della persona che sar\\'e0 titolare del trattamento dei dati personali "
                "domiciliata per la carica nella sede dell'Associazione;")
           << s("\\par \\b 5)\\b0  la necessit\\'e0 di fornire i dati richiesti per poter partecipare alle attivit\\'e0 "
                "dell'Associazione.");
    // 41: the consent.
    parts << s("\\par Con la presente, esprimo il mio consenso al trattamento dei dati personali e sensibili al "
                "Sig. \\b ")
                  + v(&Values::privacyHolder)
                  + s("\\b0  esclusivamente per le finalit\\'e0 istituzionali, amministrative, organizzative")
                  + s(" e gestionali, strettamente connesse allo svolgimento dell'attivit\\'e0 associativa, comprese "
                      "eventuali comunicazioni tramite email o telefono. Relativamente alla mia immagine fotografica, "
                      "acconsento all'utilizzo della")
                  + s(" stessa: 1) all'interno del Quorvel, sia in formato cartaceo che digitale, accessibile ai soli "
                      "membri autorizzati dell'Associazione; 2) all'interno dell'archivio digitale dei Soci "
                      "dell'Associazione, utilizzata a")
                  + s(" fini identificativi e documentali; 3) all'interno di spazi associativi (ad esempio, su badge, "
                      "elenchi, registri) laddove necessario per scopi legati all'identificazione del Socio nel "
                      "rispetto dei principi di")
                  + s(" liceit\\'e0, correttezza, pertinenza e non eccedenza.");
    parts << s("\\par") << s("\\par \\b ") + v(&Values::place) + s("\\b0 , \\b ") + v(&Values::date) + s("\\b0 .")
           << s("\\par") << s("\\par \\pard\\qr\\b Firma del Socio per accettazione") << s("\\par")
           << s("\\par ") + QString(31, u'_') << s("\\par \\b0") << s("\\par \\pard\\cf1\\b\\f1") << s("\\par }");
    return parts;
}

QByteArray rtf(const Values &values)
{
    return FixedText::toWindows1252(pieces(values).join(QString()));
}

} // namespace PrivacyDocument
