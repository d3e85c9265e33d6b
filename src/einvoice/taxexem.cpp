// The fixed lists of VAT categories and VAT exemption reasons.
#include "einvoice/taxcat.h"

namespace korvan {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

TaxExemptionGroup group(const char* category, std::initializer_list<std::pair<const char*, const char*>> rows) {
  TaxExemptionGroup g;
  g.category = u(category);
  for (const auto& r : rows) g.items.append({u(r.first), u(r.second)});
  return g;
}

}  // namespace

QList<TaxCategory> ATAX_CAT() {
  return {
      {u("S"), u("Standardno")},
      {u("AE"), u("Obrnuto obračunavanje PDV-a, npr: građevina, skundarne sirovine")},
      {u("Z"), u("Član 24. ZoPDV, npr: izvoz/uvoz, prevoz pri izvozu/uvozu, strana ambasada...")},
      {u("E"), u("Član 25.")},
      {u("R"), u("Izuzimanje od PDV, Član 6, npr: prenosi imovine...")},
      {u("O"), u("Nije predmet oporezivanja, Član 12, npr: promet dobara i usluga u inostranstvu...")},
      {u("OE"), u("Npr: naknada štete, kamate...")},
      {u("SS"), u("Mali obveznici, turističke agencije...")},
      {u("N"), u("Anuliranje = storniranje")},
  };
}

QList<TaxExemptionGroup> ATAX_EXEM() {
  QList<TaxExemptionGroup> all;
  all << group("AE", {
      {"PDV-RS-10-2-1", "Poreski dužnik je primalac - obveznik PDV kojem je izvršen promet otpadaka i sekundarnih sirovina,\nkao i usluga koje su neposredno povezane sa tim dobrima"},
      {"PDV-RS-10-2-2", "Poreski dužnik je primalac - obveznik PDV kojem je izvršen promet objekata i ekonomski deljivih celina u okviru objekata,\nza koji je obveznik PDV koji vrši promet izabrao da obračunava PDV"},
      {"PDV-RS-10-2-3", "Poreski dužnik je primalac - obveznik PDV kojem je izvršen promet dobara i usluga iz oblasti građevinarstva,\nkada je primalac investitor, izvođač radova ili podizvođač"},
      {"PDV-RS-10-2-4", "Poreski dužnik je primalac - obveznik PDV kojem je izvršen promet dobara koja su predmet založnog prava,\nu postupku prinudne naplate, odnosno namirenja poverioca"},
      {"PDV-RS-10-2-5-1", "Poreski dužnik je primalac - obveznik PDV kojem je izvršen promet električne energije preko prenosnog,\nodnosno distributivnog sistema"},
      {"PDV-RS-10-2-5-2", "Poreski dužnik je primalac - obveznik PDV kojem je izvršen promet prirodnog gasa preko transportnog,\nodnosno distributivnog sistema"},
      {"PDV-RS-10-2-5-3", "Poreski dužnik je primalac - obveznik PDV kojem je izvršen promet toplotne energije, odnosno drugih energenata\nza koje je propisano obrnuto obračunavanje PDV"},
      {"PDV-RS-36b-6", "Poreski dužnik za promet investicionog zlata iz stava 5. ovog člana je obveznik PDV kojem je taj promet izvršen"},
  });
  all << group("O", {
      {"PDV-RS-11-1-1", "Mesto prometa dobara je inostranstvo - dobro se u trenutku otpočinjanja otpreme ili prevoza nalazi van Republike"},
      {"PDV-RS-11-1-2", "Mesto prometa dobara je inostranstvo - dobro koje isporučilac ili po njegovom nalogu treće lice\ninstalira ili montira, instalira se ili montira van Republike"},
      {"PDV-RS-11-1-3", "Mesto prometa dobara je inostranstvo - dobro koje se ne otprema niti prevozi nalazi se u trenutku prometa van Republike"},
      {"PDV-RS-11-1-4", "Mesto prometa dobara je inostranstvo - mesto utovara dobra koje se isporučuje na brodu, u vazduhoplovu ili vozu\ntokom prevoza putnika je van Republike"},
      {"PDV-RS-11-1-5", "Mesto prometa dobara je inostranstvo - električna energija, prirodni gas ili toplotna energija isporučuju se\nprimaocu čije je sedište, odnosno mesto gde se dobra koriste, van Republike"},
      {"PDV-RS-11-3", "Mestom prometa dobara koja se otpremaju ili prevoze iz inostranstva smatra se mesto van Republike\nu kojem otprema ili prevoz otpočinje, kada isporučilac nije poreski dužnik u Republici"},
      {"PDV-RS-12-4", "Mestom prometa usluga smatra se mesto u kojem primalac usluga - poreski obveznik ima sedište ili stalnu poslovnu jedinicu,\nkoje je van Republike"},
      {"PDV-RS-12-6-1", "Mestom prometa usluga smatra se mesto gde se nalazi nepokretnost, za usluge u vezi sa nepokretnošću\nkoja se nalazi van Republike"},
      {"PDV-RS-12-6-2", "Mestom prometa usluga smatra se mesto gde se obavlja prevoz, za usluge prevoza lica koji se obavlja van Republike"},
      {"PDV-RS-12-6-3", "Mestom prometa usluga smatra se mesto gde su usluge stvarno pružene, za usluge iz oblasti kulture, umetnosti,\nsporta, nauke, obrazovanja, zabave i slične usluge pružene van Republike"},
      {"PDV-RS-12-6-4-1", "Mestom prometa usluga smatra se mesto gde se obavlja prevoz, za usluge prevoza dobara pružene licu\nkoje nije poreski obveznik, kada se prevoz obavlja van Republike"},
      {"PDV-RS-12-6-4-2", "Mestom prometa usluga smatra se mesto gde su usluge stvarno pružene, za sporedne usluge u vezi sa prevozom\n(utovar, istovar, pretovar i slično) pružene licu koje nije poreski obveznik van Republike"},
      {"PDV-RS-12-6-4-3", "Mestom prometa usluga smatra se mesto gde su usluge stvarno pružene, za procenu pokretnih stvari i radove na njima\npružene licu koje nije poreski obveznik van Republike"},
      {"PDV-RS-12-6-4-4", "Mestom prometa usluga smatra se mesto prometa dobara ili usluga u vezi sa kojim se posreduje,\nza usluge posredovanja pružene licu koje nije poreski obveznik, kada je to mesto van Republike"},
      {"PDV-RS-12-6-4-5", "Mestom prometa usluga smatra se mesto gde su usluge stvarno pružene, za ostale usluge iz ove tačke\npružene licu koje nije poreski obveznik van Republike"},
      {"PDV-RS-12-6-5", "Mestom prometa usluga smatra se mesto gde su usluge stvarno pružene, za usluge pripremanja i usluživanja hrane\ni pića pružene van Republike"},
      {"PDV-RS-12-6-6", "Mestom prometa usluga smatra se mesto gde je prevozno sredstvo stavljeno na raspolaganje primaocu,\nza kratkoročno iznajmljivanje prevoznih sredstava van Republike"},
      {"PDV-RS-12-6-7-1", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za prenos i ustupanje autorskih i srodnih prava,\npatenata, licenci, zaštitnih znakova i drugih prava intelektualne svojine licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-2", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za usluge reklame i propagande\npružene licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-3", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za usluge konsultanata, inženjera, advokata,\nrevizora, računovođa i slične usluge pružene licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-4", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za usluge obrade podataka i ustupanja informacija\npružene licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-5", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za bankarske, finansijske usluge i usluge osiguranja\npružene licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-6", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za usluge ustupanja osoblja\npružene licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-7", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za davanje u zakup pokretnih stvari,\nosim prevoznih sredstava, licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-8", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za omogućavanje pristupa prenosnom,\ntransportnom i distributivnom sistemu električne energije, prirodnog gasa i toplotne energije licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-9", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za telekomunikacione usluge\npružene licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-10", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za usluge radio i televizijskog emitovanja\npružene licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-11", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za elektronske usluge\npružene licu sa sedištem van Republike"},
      {"PDV-RS-12-6-7-12", "Mestom prometa usluga smatra se mesto gde primalac ima sedište, za obavezu uzdržavanja od delimičnog\nili potpunog obavljanja delatnosti ili korišćenja prava iz ove tačke, prema licu sa sedištem van Republike"},
      {"PDV-RS-12-6-8", "Mestom prometa usluga smatra se mesto gde se usluga koristi, za usluge koje se koriste van Republike\nu slučajevima iz ove tačke"},
      {"PDV-RS-12-9", "Promet usluga koji se, u skladu sa posebnim pravilima o mestu prometa usluga, ne smatra izvršenim u Republici"},
      {"PDV-RS-61", "Promet dobara sa teritorije Republike van APKM na teritoriju APKM"},
  });
  all << group("E", {
      {"PDV-RS-25-1-1", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge odobravanja kredita i zajmova\nnovčanih sredstava, kao i posredovanja u vezi sa tim uslugama"},
      {"PDV-RS-25-1-1a", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge upravljanja investicionim fondovima\ni dobrovoljnim penzijskim fondovima"},
      {"PDV-RS-25-1-2", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge osiguranja i reosiguranja,\nkao i usluge zastupanja i posredovanja u osiguranju"},
      {"PDV-RS-25-1-3", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet udela u kapitalu, hartija od vrednosti\ni drugih finansijskih instrumenata, kao i posredovanja u vezi sa tim prometom"},
      {"PDV-RS-25-1-4", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge u vezi sa depozitima, tekućim i žiro računima,\nplaćanjima, prenosima i dugovanjima"},
      {"PDV-RS-25-1-5", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet novca i deviza kao zakonskog sredstva plaćanja,\nosim novca za kolekcionarstvo"},
      {"PDV-RS-25-1-6", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet poštanskih vrednosnica po nominalnoj vrednosti,\nvažećih taksenih i drugih službenih vrednosnica"},
      {"PDV-RS-25-1-7", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet investicionog zlata"},
      {"PDV-RS-25-1-8", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge posredovanja u vezi sa prometom\niz ovog stava"},
      {"PDV-RS-25-2-1", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet dobara i usluga koji vrše\norgani državne uprave i lokalne samouprave u okviru svoje nadležnosti"},
      {"PDV-RS-25-2-2", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet zemljišta, kao i na davanje u zakup tog zemljišta"},
      {"PDV-RS-25-2-3", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet objekata, osim prvog prenosa prava raspolaganja\nna novoizgrađenim građevinskim objektima"},
      {"PDV-RS-25-2-3a", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet ekonomski deljivih celina u okviru objekata,\nosim prvog prenosa prava raspolaganja na njima"},
      {"PDV-RS-25-2-3b", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet vlasničkih udela na objektima\ni ekonomski deljivim celinama, osim prvog prenosa"},
      {"PDV-RS-25-2-5", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za davanje u zakup stambenih objekata\nza stanovanje, osim turističkog smeštaja"},
      {"PDV-RS-25-2-6", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet pokretnih stvari za koje prilikom nabavke\nnije postojalo pravo na odbitak prethodnog poreza"},
      {"PDV-RS-25-2-7", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge zdravstvene zaštite koje pružaju\nzdravstvene ustanove i privatna praksa, uključujući smeštaj, negu i ishranu bolesnika"},
      {"PDV-RS-25-2-8", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet zubotehničkih usluga i proteza"},
      {"PDV-RS-25-2-9", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge koje pružaju lekari, stomatolozi\ni druga lica u okviru svoje profesionalne delatnosti"},
      {"PDV-RS-25-2-10", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge socijalne zaštite i dečje zaštite\ni sa njima povezan promet dobara i usluga"},
      {"PDV-RS-25-2-11", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge obrazovanja i vaspitanja\ni sa njima povezan promet dobara i usluga"},
      {"PDV-RS-25-2-12", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge koje pružaju crkve i verske zajednice\nu okviru verske delatnosti"},
      {"PDV-RS-25-2-13", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge javnih servisa - radio i televizijskih\nustanova, osim usluga komercijalnog karaktera"},
      {"PDV-RS-25-2-14", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge iz oblasti kulture koje pružaju\nustanove kulture i nevladine organizacije"},
      {"PDV-RS-25-2-15", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge iz oblasti nauke koje pružaju\nnaučnoistraživačke organizacije"},
      {"PDV-RS-25-2-16", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge iz oblasti sporta koje pružaju\nnevladine organizacije licima koja se bave sportom"},
      {"PDV-RS-25-2-17", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za usluge koje organizacije koje nisu osnovane radi\nsticanja dobiti pružaju svojim članovima u skladu sa svojim aktima"},
      {"PDV-RS-25-2-18", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet usluga priređivanja igara na sreću"},
      {"PDV-RS-25-2-19", "Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet dobara i usluga koji se vrše bez naknade\nu okviru humanitarnih i drugih opštekorisnih aktivnosti"},
  });
  all << group("R", {
      {"PDV-RS-6-1-1", "Smatra se da promet dobara i usluga nije izvršen u slučaju prenosa celokupne ili dela imovine,\nsa naknadom ili bez naknade ili kao ulog, kada je sticalac obveznik PDV ili tim prenosom postaje obveznik PDV"},
      {"PDV-RS-6a", "Smatra se da promet dobara i usluga nije izvršen kada se dobra i usluge stiču u okviru prenosa imovine\nu skladu sa posebnim propisima iz ovog člana"},
  });
  all << group("Z", {
      {"PDV-RS-24-1-1", "Poresko oslobođenje sa pravom na odbitak prethodnok poreza za promet dobara koja obveznik ili treće lice\npo njegovom nalogu šalje ili otprema u inostranstvo"},
      {"PDV-RS-24-1-2", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara koja inostrani primalac\nili treće lice po njegovom nalogu šalje ili otprema u inostranstvo"},
      {"PDV-RS-24-1-3", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara koja se u okviru postupka\ncarinskog skladištenja isporučuju u inostranstvo"},
      {"PDV-RS-24-1-5", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga u slobodnoj zoni\nkoji vrše korisnici slobodne zone"},
      {"PDV-RS-24-1-5a", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga korisnicima slobodne zone\nza obavljanje delatnosti u slobodnoj zoni"},
      {"PDV-RS-24-1-6", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara koja su u postupku carinskog skladištenja"},
      {"PDV-RS-24-1-6a", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara koja se nalaze u postupku\nprivremenog uvoza ili unutrašnje obrade"},
      {"PDV-RS-24-1-7", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za usluge prevoza i ostale usluge\nkoje su neposredno povezane sa izvozom, tranzitom ili privremenim uvozom dobara"},
      {"PDV-RS-24-1-7a", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za usluge prevoza i ostale usluge\nkoje su neposredno povezane sa uvozom dobara, ako je vrednost tih usluga sadržana u osnovici za obračunavanje PDV pri uvozu"},
      {"PDV-RS-24-1-8", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za usluge prevoza putnika u međunarodnom\nvazdušnom saobraćaju"},
      {"PDV-RS-24-1-9", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet, prepravke, popravke, održavanje\ni zakup vazduhoplova i brodova koji se koriste u međunarodnom saobraćaju"},
      {"PDV-RS-24-1-10", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga namenjenih\nneposrednim potrebama vazduhoplova i brodova u međunarodnom saobraćaju"},
      {"PDV-RS-24-1-11", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara namenjenih opremanju\ni snabdevanju vazduhoplova i brodova u međunarodnom saobraćaju"},
      {"PDV-RS-24-1-12", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za usluge koje se pružaju u vezi sa dobrima\nkoja se izvoze, a koje se ne smatraju prometom izvršenim u Republici"},
      {"PDV-RS-24-1-13", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za usluge posredovanja u vezi sa prometom\nkoji je oslobođen PDV ili se ne smatra izvršenim u Republici"},
      {"PDV-RS-24-1-14", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za usluge koje se pružaju inostranom licu\nu vezi sa dobrima koja se nalaze u postupku aktivnog oplemenjivanja"},
      {"PDV-RS-24-1-15", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za isporuke zlata Narodnoj banci Srbije"},
      {"PDV-RS-24-1-16-1", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga za službene potrebe\ndiplomatskih i konzularnih predstavništava"},
      {"PDV-RS-24-1-16-2", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga za službene potrebe\nmeđunarodnih organizacija, ako je to predviđeno međunarodnim ugovorom"},
      {"PDV-RS-24-1-16-3", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga za lične potrebe\nstranog osoblja diplomatskih i konzularnih predstavništava, uključujući članove njihovih porodica"},
      {"PDV-RS-24-1-16-4", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga za lične potrebe\nstranog osoblja međunarodnih organizacija, ako je to predviđeno međunarodnim ugovorom"},
      {"PDV-RS-24-1-16a", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga koji se vrši u skladu\nsa ugovorima o donaciji zaključenim sa državom"},
      {"PDV-RS-24-1-16b", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga koji se vrši u skladu\nsa ugovorima o kreditu, odnosno zajmu zaključenim između države i međunarodne finansijske organizacije"},
      {"PDV-RS-24-1-16v", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga koji se vrši u skladu\nsa međunarodnim ugovorom, ako je tim ugovorom predviđeno poresko oslobođenje"},
      {"PDV-RS-24-1-16g", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga koji se vrši u skladu\nsa ugovorima o humanitarnoj pomoći"},
      {"PDV-RS-24-1-17", "Poresko oslobođenje sa pravom na odbitak prethodnog poreza za promet dobara i usluga koji se vrši u okviru\nrealizacije projekata finansiranih iz sredstava finansijske pomoći Evropske unije"},
  });
  all << group("SS", {
      {"PDV-RS-33", "Promet dobara i usluga koji vrši mali obveznik"},
      {"PDV-RS-35-7", "Promet usluga turističke agencije za koji se primenjuje poseban postupak oporezivanja, a putovanje\nse realizuje van Republike"},
      {"PDV-RS-36-5", "Promet polovnih dobara, umetničkih dela, kolekcionarskih dobara i antikviteta za koji se primenjuje\nposeban postupak oporezivanja"},
      {"PDV-RS-36b-4", "Promet investicionog zlata koji je oslobođen PDV, za koji obveznik nije izabrao da obračunava PDV"},
  });
  all << group("OE", {
      {"PDV-RS-17-4-2", "Osnovica ne sadrži iznose koje obveznik naplaćuje u ime i za račun drugog lica, ako taj iznos prenese licu\nu čije ime i za čiji račun je izvršio naplatu"},
      {"PDV-RS-17-4-3", "Osnovica ne sadrži iznose koje obveznik plaća u ime i za račun drugog lica, ako se ti iznosi kod obveznika\nvode na propisanim računima"},
      {"PDV-RS-9", "U cilju obavljanja poslova za koje lice nije poreski obveznik iz člana 9. stav 1. ZPDV"},
      {"PDV-RS-7a-4", "Višenamenski vrednosni vaučer"},
      {"PDV-RS-4-4-2NP", "Promet dobara bez naknade koji nije predmet oporezivanja"},
      {"PDV-RS-5-4-2NP", "Promet usluga bez naknade koji nije predmet oporezivanja"},
      {"PDV-RS-3NP-ostalo", "Ostala potraživanja koja nisu predmet oporezivanja PDV"},
  });
  all << group("N", {
      {"PDV-RS-4", "Promet dobara bez naknade, nezavisno od toga da li je predmet oporezivanja PDV "},
      {"PDV-RS-5", "Promet usluga bez naknade, nezavisno od toga da li je predmet oporezivanja PDV"},
      {"PDV-RS-6-1-1 (BN)", "Prenos imovine ili dela imovine u skladu sa članom 6. stav 1. tačka 1) ZPDV, bez naknade"},
      {"PDV-RS-3-DZ", "Umanjenje iznosa za plaćanje zbog primene drugog zakona"},
  });
  return all;
}

QString TAX_EXEM_PROMPT() { return QStringLiteral("Kliknite za izbor..."); }

const TaxExemptionGroup* FIND_TAX_EXEM(const QList<TaxExemptionGroup>& all, const QString& category) {
  for (const TaxExemptionGroup& g : all)
    if (g.category == category) return &g;
  return nullptr;
}

bool IS_TAX_EXEM_OF(const QString& category, const QString& code) {
  const QList<TaxExemptionGroup> all = ATAX_EXEM();
  const TaxExemptionGroup* g = FIND_TAX_EXEM(all, category);
  if (!g) return false;
  for (const TaxExemption& e : g->items)
    if (e.code == code) return true;
  return false;
}

}  // namespace korvan
