#include "app/interpreter/command_names.h"

namespace {

// Up to six variants a slot; empty texts add nothing.
constexpr const char* kTexts[kCommandNameTexts][6] = {
    {"en:help", "ge:hilfe", "fr:aide", "st:hülf ma", "", ""},
    {"??:quit", "fr:quitter", "st:gibs auf", "", "", ""},
    {"en:exit", "ge:ende", "fr:sortir", "st:schluss", "", ""},
    {"en:language english", "ge:sprache englisch", "fr:langue anglaise", "st:sproch englisch", "", ""},
    {"en:language german", "ge:sprache deutsch", "fr:langue allemande", "st:sproch deitsch", "", ""},
    {"en:language french", "ge:sprache französisch", "fr:langue française", "st:sproch französisch", "",
     ""},
    {"en:language styrian", "ge:sprache steirisch", "fr:langue styrienne", "st:sproch steirisch", "", ""},
    {"??:info", "", "", "", "", ""},
    {"??:links", "fr:liens", "st:zag de links", "", "", ""},
    {"en:references", "ge:verweise", "fr:références", "st:wo's hinzagt", "", ""},
    {"en:browse", "ge:blättern", "fr:feuilleter", "st:umanandblattln", "", ""},
    {"en:output +", "ge:ausgabe +", "fr:sortie +", "st:ausse +", "", ""},
    {"en:search on attributes", "ge:suche nach attributen", "fr:recherche par attributs",
     "st:suach noch de attribut", "", ""},
    {"en:find similar", "ge:ähnliche finden", "fr:trouver similaires", "st:suach wos ähnlichs", "", ""},
    {"en:search titles", "ge:titel suchen", "fr:rechercher titres", "st:titl suachn", "", ""},
    {"en:search full text", "ge:volltext suchen", "fr:recherche plein texte", "st:olls durchsuachn", "",
     ""},
    {"en:children", "ge:kinder", "fr:enfants", "st:de kinda", "", ""},
    {"en:parents", "ge:eltern", "fr:parents", "st:de oidn", "", ""},
    {"en:home", "ge:heim", "fr:maison", "st:dahoam", "", ""},
    {"en:history", "ge:verlauf", "fr:historique", "st:wo i woa", "", ""},
    {"en:undo", "ge:zurück", "fr:annuler", "st:zruck", "", ""},
    {"en:redo", "ge:wiederholen", "fr:refaire", "st:nomoi", "", ""},
    {"en:continue", "ge:weiter", "fr:continuer", "st:weida", "", ""},
    {"en:identify", "ge:identifizieren", "fr:identifier", "st:wer bin i", "", ""},
    {"en:insert document", "ge:dokument einfügen", "fr:insérer document", "st:dokument einetuan", "", ""},
    {"en:erase object", "ge:objekt löschen", "fr:effacer objet", "st:objekt wegtuan", "", ""},
    {"en:move to coll.", "ge:in koll. verschieben", "fr:déplacer vers coll.", "st:in de koll. schiabn",
     "", ""},
    {"en:copy to coll.", "ge:in koll. kopieren", "fr:copier vers coll.", "st:in de koll. kopiern", "",
     ""},
    {"en:unlink from coll.", "ge:aus koll. entfernen", "fr:retirer de coll.", "st:aus da koll. ausse",
     "", ""},
    {"en:create duplicate", "ge:duplikat erzeugen", "fr:créer duplicata", "st:nomoi mochn", "", ""},
    {"en:mail native", "ge:mail nativ", "fr:courrier natif", "st:post wia's is", "", ""},
    {"en:mail ascii", "ge:mail ascii", "fr:courrier ascii", "st:post ascii", "", ""},
    {"en:mail postscript", "ge:mail postscript", "fr:courrier postscript", "st:post postscript", "", ""},
    {"en:mail rtf", "ge:mail rtf", "fr:courrier rtf", "st:post rtf", "", ""},
    {"en:option sort", "ge:option sortieren", "fr:option tri", "st:option ordnen", "", ""},
    {"en:option full text", "ge:option volltext", "fr:option plein texte", "st:option olls", "", ""},
    {"en:activate", "ge:aktivieren", "fr:activer", "st:einschoitn", "", ""},
    {"en:deactivate", "ge:deaktivieren", "fr:désactiver", "st:ausschoitn", "", ""},
    {"en:show active colls", "ge:aktive koll. zeigen", "fr:montrer coll. actives", "st:zag de aktivn koll.",
     "", ""},
    {"??:status", "st:wia schauts aus", "", "", "", ""},
    {"en:edit text", "ge:text bearbeiten", "fr:éditer texte", "st:text richtn", "", ""},
    {"en:new text", "ge:neuer text", "fr:nouveau texte", "st:neicha text", "", ""},
    {"en:annotate", "ge:kommentieren", "fr:annoter", "st:wos dazuaschreibn", "", ""},
    {"en:make link", "ge:verbinde", "fr:créer lien", "st:verbindn", "", ""},
    {"en:update screen", "ge:bildschirm auffrischen", "fr:rafraîchir écran", "st:bildl auffrischn", "",
     ""},
    {"en:modify attributes", "ge:attribute ändern", "fr:modifier attributs", "st:attribut ändern", "", ""},
    {"en:add attributes", "ge:attribute hinzufügen", "fr:ajouter attributs", "st:attribut dazua", "", ""},
    {"en:change password", "ge:passwort ändern", "fr:changer mot de passe", "st:passwort ändern", "", ""},
    {"en:goto collection", "ge:gehe zu kollektion", "fr:aller à collection", "st:geh zua da kollektion",
     "", ""},
    {"en:show annotations", "ge:zeige kommentare", "fr:show annotations@", "st:zag kommentare", "", ""},
    {"", "", "", "", "", ""},
    {"en:insert collection", "ge:kollektion einfügen", "fr:insérer collection", "st:kollektion einetuan",
     "", ""},
    {"en:insert cluster", "ge:cluster einfügen", "fr:insérer cluster", "st:cluster einetuan", "", ""},
    {"en:insert image", "ge:bild einfügen", "fr:insérer image", "st:bildl einetuan", "", ""},
    {"en:insert movie", "ge:film einfügen", "fr:insérer film", "st:fülm einetuan", "", ""},
    {"en:insert sound", "ge:ton einfügen", "fr:insérer son", "st:tonl einetuan", "", ""},
    {"en:insert scene", "ge:szene einfügen", "fr:insérer scène", "st:szen einetuan", "", ""},
    {"en:insert postscript document", "ge:postscript-dokument einfügen", "fr:insérer document postscript",
     "st:postscript-dokument einetuan", "", ""},
    {"en:insert remote connection", "ge:fernverbindung einfügen", "fr:insérer connexion distante",
     "st:fernverbindung einetuan", "", ""},
    {"en:insert generic", "ge:generisch einfügen", "fr:insérer générique", "st:irgendwos einetuan", "",
     ""},
    {"en:send message", "ge:nachricht senden", "fr:envoyer message", "st:nochricht schickn", "", ""},
    {"en:make link", "ge:neuer Link", "fr:make link", "st:moch an link", "", ""},
    {"??:inline", "", "", "", "", ""},
};

struct CommandNameTable {
  CommandNameTable() {
    for (int i = 0; i < kCommandNameTexts; ++i) {
      const char* const* v = kTexts[i];
      slots[i] = MultiLangString::Compose(v[0], v[1], v[2], v[3], v[4], v[5]);
    }
  }
  MultiLangString slots[kCommandNameSlots];
};

}  // namespace

const MultiLangString& CommandName(int slot) {
  static const CommandNameTable table;
  static const MultiLangString none;
  if (slot < 0 || slot >= kCommandNameSlots) return none;
  return table.slots[slot];
}
