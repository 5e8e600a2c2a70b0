#include "french_errors.h"

#include <memory>
#include <regex>

namespace qz::cli {

namespace {

struct Translation {
  std::regex english;
  const char* french;  ///< std::regex_replace format: $1, $2... are the English message's parts
};

// CLI11's messages (version 2), the ones a user can meet on qz-cli's command line.
const std::vector<Translation>& translations() {
  static const std::vector<Translation> table = [] {
    const auto t = [](const char* english, const char* french) { return Translation{std::regex(english), french}; };
    return std::vector<Translation>{
        t("^The following argument was not expected: (.*)$", "Argument inattendu : $1"),
        t("^The following arguments were not expected: (.*)$", "Arguments inattendus : $1"),
        t("^(.*) is required$", "$1 est obligatoire"),
        t("^Could not convert: (.*) = (.*)$", "Valeur incorrecte pour $1 : « $2 »"),
        t("^The value (.*) is not an allowed value for (.*)$", "La valeur « $1 » n'est pas admise pour $2"),
        t("^(.*): too many inputs for a flag$", "$1 : cette option ne prend pas de valeur"),
        t("^(.*): Should be true/false or a number$", "$1 : vrai/faux ou un nombre attendu"),
        t("^Expected exactly ([0-9]+) arguments? to (.*), got ([0-9]+)$", "$2 attend $1 valeur(s), $3 donnée(s)"),
        t("^Expected at least ([0-9]+) arguments? to (.*), got ([0-9]+)$",
          "$2 attend au moins $1 valeur(s), $3 donnée(s)"),
        t("^(.*): At least ([0-9]+) required but received ([0-9]+)$", "$1 : au moins $2 valeur(s), $3 donnée(s)"),
        t("^(.*): At Most ([0-9]+) required but received ([0-9]+)$", "$1 : au plus $2 valeur(s), $3 donnée(s)"),
        t("^(.*): ([0-9]+) required (.*) missing$", "$1 : valeur manquante"),
        t("^(.*) requires (.*)$", "$1 demande aussi $2"),
        t("^(.*) excludes (.*)$", "$1 ne s'emploie pas avec $2"),
        t("^Requires at most ([0-9]+) subcommands?.*$", "Une seule commande à la fois"),
        t("^Requires at least ([0-9]+) subcommands?.*$", "Une commande est attendue"),
        t("^(.*) not found$", "$1 introuvable"),
        // Validation errors: the option's name, then a text already French.
        t("^([^ :]+): (.*)$", "$1 : $2"),
    };
  }();
  return table;
}

// CLI11 names an option's value by its type, "INT:" or "TEXT:" before a
// validator's description ("INT:ENTIER de 0 à 4"): the description alone says it.
class FrenchFormatter : public CLI::Formatter {
 public:
  std::string make_option_opts(const CLI::Option* option) const override {
    std::string text = CLI::Formatter::make_option_opts(option);
    for (const char* type : {" INT:", " TEXT:", " FLOAT:", " UINT:"}) {
      const std::size_t at = text.find(type);
      if (at != std::string::npos) text.replace(at, std::char_traits<char>::length(type), " ");
    }
    return text;
  }
};

}  // namespace

std::string frenchParseMessage(const std::string& english) {
  for (const Translation& t : translations())
    if (std::regex_match(english, t.english)) return std::regex_replace(english, t.english, t.french);
  return "Ligne de commande incorrecte : " + english;
}

std::string frenchFailureMessage(const CLI::App* app, const CLI::Error& error) {
  std::string text = frenchParseMessage(error.what()) + "\n";
  if (app->get_help_ptr() != nullptr)
    text += "Pour en savoir plus : " + app->get_help_ptr()->get_name() + ".\n";
  return text;
}

void speakFrench(CLI::App& app) {
  app.failure_message(frenchFailureMessage);
  app.set_help_flag("-h,--help", "affiche cette aide");
  auto formatter = std::make_shared<FrenchFormatter>();
  formatter->label("Usage", "Utilisation");
  formatter->label("OPTIONS", "OPTIONS");
  formatter->label("Options", "Options");
  formatter->label("Positionals", "Arguments");
  formatter->label("Subcommands", "Commandes");
  formatter->label("SUBCOMMAND", "COMMANDE");
  formatter->label("SUBCOMMANDS", "COMMANDES");
  formatter->label("REQUIRED", "OBLIGATOIRE");
  formatter->label("Needs", "Demande");
  formatter->label("Excludes", "Exclut");
  formatter->label("TEXT", "TEXTE");
  formatter->label("INT", "ENTIER");
  formatter->label("FLOAT", "RÉEL");
  app.formatter(formatter);
}

void nameFrenchGroups(CLI::App& app) {
  for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) command->group("Commandes");
}

CLI::Validator integerRange(int low, int high) {
  const std::string range = std::to_string(low) + " à " + std::to_string(high);
  return CLI::Validator(
      [low, high, range](std::string& input) -> std::string {
        long long value = 0;
        if (!CLI::detail::lexical_cast(input, value) || value < low || value > high)
          return "valeur « " + input + " » refusée : un entier de " + range + " est attendu";
        return {};
      },
      "ENTIER de " + range);
}

CLI::Validator oneOf(std::vector<std::string> choices) {
  std::string listed;
  for (const std::string& c : choices) listed += (listed.empty() ? "" : ", ") + c;
  return CLI::Validator(
      [choices, listed](std::string& input) -> std::string {
        for (const std::string& c : choices)
          if (input == c) return {};
        return "valeur « " + input + " » refusée : " + listed + " attendu";
      },
      "{" + listed + "}");
}

}  // namespace qz::cli
