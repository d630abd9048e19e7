<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Kel</name>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>CE</source>
        <translation>CE</translation>
    </message>
    <message>
        <source>C</source>
        <translation>C</translation>
    </message>
    <message>
        <source>MC</source>
        <translation>MC</translation>
    </message>
    <message>
        <source>sqrt</source>
        <translation>sqrt</translation>
    </message>
    <message>
        <source>MR</source>
        <translation>MR</translation>
    </message>
    <message>
        <source>MS</source>
        <translation>MS</translation>
    </message>
    <message>
        <source>M+</source>
        <translation>M+</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERREUR</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Calculatrice</translation>
    </message>
    <message>
        <source>Calculator display</source>
        <translation>Affichage de la calculatrice</translation>
    </message>
    <message>
        <source>Popup calculator</source>
        <translation>Calculatrice déroulante</translation>
    </message>
    <message>
        <source>Button panel</source>
        <translation>Panneau de boutons</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Oui</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Non</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Appliquer</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;ide</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abandonner</translation>
    </message>
    <message>
        <source>&amp;Retry</source>
        <translation>&amp;Réessayer</translation>
    </message>
    <message>
        <source>&amp;Ignore</source>
        <translation>&amp;Ignorer</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Insérer</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nouveau</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Parcourir...</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>&amp;Aujourd’hui</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>Au&amp;cune</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Date&#xa0;:</translation>
    </message>
    <message>
        <source>Tim&amp;e:</source>
        <translation>&amp;Heure&#xa0;:</translation>
    </message>
    <message>
        <source>Popup</source>
        <translation>Fenêtre déroulante</translation>
    </message>
    <message>
        <source>Text editor</source>
        <translation>Éditeur de texte</translation>
    </message>
    <message>
        <source>Choice list</source>
        <translation>Liste de choix</translation>
    </message>
    <message>
        <source>Lookup list</source>
        <translation>Liste de recherche</translation>
    </message>
    <message>
        <source>True</source>
        <translation>Vrai</translation>
    </message>
    <message>
        <source>False</source>
        <translation>Faux</translation>
    </message>
    <message>
        <source>Can&apos;t insert duplicate item</source>
        <translation>Impossible d’insérer un élément en double</translation>
    </message>
    <message>
        <source>You can not activate filter with empty filter condition.</source>
        <translation>Impossible d’activer un filtre dont la condition est vide.</translation>
    </message>
    <message>
        <source>There are no records that match the search criteria.</source>
        <translation>Aucun enregistrement ne correspond aux critères de recherche.</translation>
    </message>
    <message>
        <source>The end of the table is reached and no matching records were found.</source>
        <translation>La fin de la table est atteinte et aucun enregistrement correspondant n’a été trouvé.</translation>
    </message>
    <message>
        <source>The begin of the table is reached and no matching record were found.</source>
        <translation>Le début de la table est atteint et aucun enregistrement correspondant n’a été trouvé.</translation>
    </message>
    <message>
        <source> Do you want to continue search from the begining of the table?</source>
        <translation> Voulez-vous poursuivre la recherche depuis le début de la table&#xa0;?</translation>
    </message>
    <message>
        <source> Do you want to continue search from the end of the table?</source>
        <translation> Voulez-vous poursuivre la recherche depuis la fin de la table&#xa0;?</translation>
    </message>
    <message>
        <source>Bad filter.</source>
        <translation>Filtre incorrect.</translation>
    </message>
    <message>
        <source>Data source selection</source>
        <translation>Choix de la source de données</translation>
    </message>
    <message>
        <source>1. Select or enter alias</source>
        <translation>1. Choisissez ou saisissez un alias</translation>
    </message>
    <message>
        <source>2. Select or enter table name</source>
        <translation>2. Choisissez ou saisissez le nom de la table</translation>
    </message>
    <message>
        <source>3. Select  name of visible field.</source>
        <translation>3. Choisissez le nom du champ affiché.</translation>
    </message>
    <message>
        <source>Enter full path to the database</source>
        <translation>Saisissez le chemin complet de la base de données</translation>
    </message>
    <message>
        <source>and</source>
        <translation>et</translation>
    </message>
    <message>
        <source>or</source>
        <translation>ou</translation>
    </message>
    <message>
        <source>&lt;Click here to add condition&gt;</source>
        <translation>&lt;Cliquez ici pour ajouter une condition&gt;</translation>
    </message>
    <message>
        <source>contains</source>
        <translation>contient</translation>
    </message>
    <message>
        <source>begins with</source>
        <translation>commence par</translation>
    </message>
    <message>
        <source>ends with</source>
        <translation>se termine par</translation>
    </message>
    <message>
        <source>is (exactly)</source>
        <translation>est (exactement)</translation>
    </message>
    <message>
        <source>doesn&apos;t contain</source>
        <translation>ne contient pas</translation>
    </message>
    <message>
        <source>is empty</source>
        <translation>est vide</translation>
    </message>
    <message>
        <source>is not empty</source>
        <translation>n’est pas vide</translation>
    </message>
    <message>
        <source>more than</source>
        <translation>supérieur à</translation>
    </message>
    <message>
        <source>less than</source>
        <translation>inférieur à</translation>
    </message>
    <message>
        <source>at least</source>
        <translation>au moins</translation>
    </message>
    <message>
        <source>at most</source>
        <translation>au plus</translation>
    </message>
    <message>
        <source>is ~blank or empty~</source>
        <translation>est ~blanc ou vide~</translation>
    </message>
    <message>
        <source>after</source>
        <translation>après</translation>
    </message>
    <message>
        <source>before</source>
        <translation>avant</translation>
    </message>
    <message>
        <source>between</source>
        <translation>entre</translation>
    </message>
    <message>
        <source>is ~yesterday~</source>
        <translation>est ~hier~</translation>
    </message>
    <message>
        <source>is ~today~</source>
        <translation>est ~aujourd’hui~</translation>
    </message>
    <message>
        <source>is ~tomorrow~</source>
        <translation>est ~demain~</translation>
    </message>
    <message>
        <source>is in the ~last 7 days~</source>
        <translation>est dans les ~7 derniers jours~</translation>
    </message>
    <message>
        <source>is in the ~next 7 days~</source>
        <translation>est dans les ~7 prochains jours~</translation>
    </message>
    <message>
        <source>is on the ~last week~</source>
        <translation>est dans la ~semaine dernière~</translation>
    </message>
    <message>
        <source>is on ~this week~</source>
        <translation>est dans ~cette semaine~</translation>
    </message>
    <message>
        <source>is on the ~next week~</source>
        <translation>est dans la ~semaine prochaine~</translation>
    </message>
    <message>
        <source>is in ~last month~</source>
        <translation>est dans le ~mois dernier~</translation>
    </message>
    <message>
        <source>is in ~this month~</source>
        <translation>est dans ~ce mois-ci~</translation>
    </message>
    <message>
        <source>is in the ~next month~</source>
        <translation>est dans le ~mois prochain~</translation>
    </message>
    <message>
        <source>is ~on~</source>
        <translation>est ~le~</translation>
    </message>
    <message>
        <source>is ~on or after~</source>
        <translation>est ~le ou après le~</translation>
    </message>
    <message>
        <source>is ~on or before~</source>
        <translation>est ~le ou avant le~</translation>
    </message>
    <message>
        <source>equals</source>
        <translation>égal à</translation>
    </message>
    <message>
        <source>not equal to</source>
        <translation>différent de</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Inconnu</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Boolean</source>
        <translation>Booléen</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Mémo</translation>
    </message>
    <message>
        <source>:Field :Template :Value1 and :Value2</source>
        <translation>:Field :Template :Value1 et :Value2</translation>
    </message>
    <message>
        <source>Can&apos;t delete this memory slot</source>
        <translation>Impossible de supprimer cet emplacement mémoire</translation>
    </message>
    <message>
        <source>&lt;Click here to add item&gt;</source>
        <translation>&lt;Cliquez ici pour ajouter un élément&gt;</translation>
    </message>
    <message>
        <source>Filters</source>
        <translation>Filtres</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Ajouter</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Indent</source>
        <translation>Mettre en &amp;retrait</translation>
    </message>
    <message>
        <source>O&amp;utdent</source>
        <translation>&amp;Diminuer le retrait</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Ouvrir...</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Enregistrer...</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Tout effacer</translation>
    </message>
    <message>
        <source>Sa&amp;ve to Memory...</source>
        <translation>Enregistrer en &amp;mémoire...</translation>
    </message>
    <message>
        <source>&amp;Load from Memory...</source>
        <translation>&amp;Charger depuis la mémoire...</translation>
    </message>
    <message>
        <source>untitled</source>
        <translation>sans titre</translation>
    </message>
    <message>
        <source>You can not save to this memory slot</source>
        <translation>Impossible d’enregistrer dans cet emplacement mémoire</translation>
    </message>
    <message>
        <source>Number field</source>
        <translation>Champ numérique</translation>
    </message>
    <message>
        <source>Open the calculator</source>
        <translation>Ouvrir la calculatrice</translation>
    </message>
    <message>
        <source>Date field</source>
        <translation>Champ de date</translation>
    </message>
    <message>
        <source>Open the calendar</source>
        <translation>Ouvrir le calendrier</translation>
    </message>
    <message>
        <source>backspace</source>
        <translation>retour arrière</translation>
    </message>
    <message>
        <source>clear entry</source>
        <translation>effacer la saisie</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>effacer</translation>
    </message>
    <message>
        <source>memory clear</source>
        <translation>effacer la mémoire</translation>
    </message>
    <message>
        <source>divide</source>
        <translation>divisé par</translation>
    </message>
    <message>
        <source>square root</source>
        <translation>racine carrée</translation>
    </message>
    <message>
        <source>memory recall</source>
        <translation>rappeler la mémoire</translation>
    </message>
    <message>
        <source>multiply</source>
        <translation>multiplié par</translation>
    </message>
    <message>
        <source>percent</source>
        <translation>pour cent</translation>
    </message>
    <message>
        <source>memory store</source>
        <translation>mettre en mémoire</translation>
    </message>
    <message>
        <source>minus</source>
        <translation>moins</translation>
    </message>
    <message>
        <source>reciprocal</source>
        <translation>inverse</translation>
    </message>
    <message>
        <source>memory add</source>
        <translation>ajouter à la mémoire</translation>
    </message>
    <message>
        <source>change sign</source>
        <translation>changer de signe</translation>
    </message>
    <message>
        <source>decimal separator</source>
        <translation>séparateur décimal</translation>
    </message>
    <message>
        <source>plus</source>
        <translation>plus</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Mois précédent</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Mois suivant</translation>
    </message>
    <message>
        <source>Choose another month</source>
        <translation>Choisir un autre mois</translation>
    </message>
    <message>
        <source>today</source>
        <translation>aujourd’hui</translation>
    </message>
    <message>
        <source>other month</source>
        <translation>autre mois</translation>
    </message>
    <message>
        <source>week %1</source>
        <translation>semaine %1</translation>
    </message>
    <message>
        <source>Popup calendar</source>
        <translation>Calendrier déroulant</translation>
    </message>
    <message>
        <source>Month list</source>
        <translation>Liste des mois</translation>
    </message>
    <message>
        <source>Chosen date</source>
        <translation>Date choisie</translation>
    </message>
    <message>
        <source>Indent level %1</source>
        <translation>Niveau de retrait %1</translation>
    </message>
    <message>
        <source>field</source>
        <translation>champ</translation>
    </message>
    <message>
        <source>operation</source>
        <translation>opération</translation>
    </message>
    <message>
        <source>connector</source>
        <translation>liaison</translation>
    </message>
    <message>
        <source>value</source>
        <translation>valeur</translation>
    </message>
    <message>
        <source>An unknown error occurred.</source>
        <translation>Une erreur inconnue s’est produite.</translation>
    </message>
</context>
</TS>
