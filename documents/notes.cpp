#include "documents/notes.h"

#include <string>

#include "documents/page_text.h"
#include "source/built_in_scenario.h"

namespace scenario {
namespace {

namespace bi = built_in;

// A station as prose names it: "Valdorena C.le", "Pianverde".
std::string place(size_t station) { return initial_capitals(bi::kStations[station].name); }

std::string destination() { return initial_capitals(bi::kDestination); }

// Indices into kStations of the places the notes speak of.
constexpr size_t kFirst = 0;
constexpr size_t kSecond = 1;
constexpr size_t kJunction = 2;
constexpr size_t kFourth = 3;
constexpr size_t kFifth = 4;
constexpr size_t kSixth = 5;
constexpr size_t kSeventh = 6;
constexpr size_t kLast = bi::kStations.size() - 1;

constexpr std::string_view kSignatureIndent = "                                        ";

}  // namespace

LineBuffer notes_lines() {
  const std::string tunnel(bi::kTunnel);
  const std::string branch(bi::kJunctionBranch);

  LineBuffer lines;
  lines.add("        Regione " + initial_capitals(bi::kRegion));
  lines.add("Linea " + place(kFirst) + "-" + place(kLast));
  lines.add("");

  // The line, from the terminal station to the cab change; a sentence may run on to the next line.
  lines.add("Il tracciato misura 42,2 Km. Si parte da " + place(kFirst) + " stazione di testa e si scende sino ad");
  lines.add("arrivare alla stazione di " + place(kSecond) +
            "; da qui la linea risale con una pendenza del 30 per mille, attraversa la galleria " + tunnel +
            " e raggiunge " + place(kJunction) + ".");
  lines.add("Il segnale di partenza di " + place(kJunction) +
            " è munito di indicatore di direzione: la cifra 1 indica l'itinerario per " + branch +
            ", la cifra 2 quello per " + place(kLast) + ".");
  lines.add("Con la cifra 2 cambia anche il senso della progressiva chilometrica, che da " + place(kJunction) +
            " in poi è crescente. Superate " + place(kFourth) + ", " + place(kFifth) + ", " + place(kSixth) + " e " +
            place(kSeventh) + ", si giunge all'ultima stazione del percorso.");
  lines.add("Preceduta da un tratto di doppio binario, è " + place(kLast) + ".");
  lines.add("Vi si arriva sul binario di destra; qui il macchinista cambia banco e il treno prosegue per " +
            destination() + " C.le, oltre il percorso simulato.");
  lines.add("La linea oltre " + place(kLast) + " è a binario unico e non è elettrificata.");
  lines.add("Il tratto " + place(kJunction) + "-" + place(kFifth) +
            " è esercitato con il blocco elettrico manuale; il resto della linea è in Controllo Centralizzato del "
            "Traffico (C.T.C.), comandato dal posto centrale di " +
            place(kFirst) + ".");
  lines.add(
      "Il tracciato è stato ricostruito su appunti presi chilometro per chilometro e sulla Prefazione all'Orario");
  lines.add("di Servizio: stazioni, passaggi a livello, segnali, gallerie e tabelle \"F\" si trovano quindi ");
  lines.add("esattamente dove sono nella realtà.");
  lines.add("Ringrazio l'amico Ettore per il suo aiuto nel rilievo del tratto " + place(kFifth) + "-" + place(kLast) +
            ".");
  lines.add("");

  lines.add("Treno Simulato:");
  lines.add("R " + std::string(bi::kTrainNumber) + " " +
            initial_capitals(short_station_name(bi::kStations[kFirst].name)) + "-" + destination() + " C..");
  lines.add("Il nostro treno è composto da 2 ALe 582 e 2 rimorchi Le 763 così M+R+R+M.");
  lines.add("Nel turno estivo ha lo stesso orario ma composizione 1 ALe 582+1 Le 562.");
  lines.add("Con la stessa composizione circola in senso inverso il R 4726 da " + destination() + " C.le a " +
            place(kFirst) + ".");
  // Who rides the train, and where it fills and empties; one long line, closed by a blank.
  lines.add(
      "Il nostro treno porta soprattutto studenti e impiegati che rientrano a casa dopo la mattinata: parte quasi "
      "pieno da " +
      place(kFirst) + ", perde molti viaggiatori a " + place(kSecond) + " e a " + place(kJunction) +
      ", dove c'è la coincidenza per " + branch + ", e si svuota ancora a " + place(kFifth) + " e a " + place(kSixth) +
      "; a " + place(kLast) + " scendono quasi tutti, mentre salgono i pendolari diretti a " + destination() +
      ", che lo riempiono di nuovo. ");
  lines.add("Il treno è condotto dai macchinisti del " + std::string(bi::kDepot) + ".");
  lines.add("Sono graditi consigli e suggerimenti. Buon lavoro.");
  lines.add("");

  lines.add(std::string(kSignatureIndent) + "Arnaldo Zeffirini ");
  lines.add(std::string(kSignatureIndent) + "Pratovalle");
  lines.add(std::string(kSignatureIndent) + "arnaldo.zeffirini@example.org ");
  lines.add("");
  lines.close();
  return lines;
}

}  // namespace scenario
