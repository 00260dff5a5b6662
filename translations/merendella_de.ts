<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="it">
<context>
    <name>Game</name>
    <message>
        <source>menù</source>
        <extracomment>What a screen reader calls the menu bar of a game screen.</extracomment>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere anche lo stesso numero di fragole.</source>
        <extracomment>The first line of the instructions under the board of tarts (tortine) and strawberries.</extracomment>
        <translation>Jedes Kind möchte 7 Törtchen haben, aber alle möchten auch gleich viele Erdbeeren.</translation>
    </message>
    <message>
        <source>Ogni bambino vuole avere 7 figurine, ma tutti vogliono avere anche lo stesso numero di punti.</source>
        <extracomment>The first line of the instructions under the board of stickers (figurine) and points.</extracomment>
        <translation>Jedes Kind möchte 7 Sticker haben, aber alle möchten auch gleich viele Punkte.</translation>
    </message>
    <message>
        <source>Sei capace di accontentarli?</source>
        <extracomment>The second line of the instructions: can you make them all happy?</extracomment>
        <translation>Schaffst du es, alle glücklich zu machen?</translation>
    </message>
    <message>
        <source>Mosse %1</source>
        <extracomment>The move counter under the board: &quot;Moves&quot; and the number of swaps so far.</extracomment>
        <translation>Züge %1</translation>
    </message>
    <message numerus="yes">
        <source>Bravo! Ci sei riuscito in %n mosse!</source>
        <extracomment>The box when the three hands are even: well done, you did it in so many moves.</extracomment>
        <translation>
            <numerusform>Super! Du hast es in %n Zug geschafft!</numerusform>
            <numerusform>Super! Du hast es in %n Zügen geschafft!</numerusform>
        </translation>
    </message>
    <message>
        <source>vuoi tornare al menù? </source>
        <extracomment>The question asked by &quot;Esci&quot; on a game screen: go back to the menu? (Keep the trailing blank.)</extracomment>
        <translation>Zurück zum Menü? </translation>
    </message>
    <message>
        <source>primo bambino</source>
        <extracomment>The child of the top row, a boy, as a screen reader and the voice name him.</extracomment>
        <translation>erstes Kind</translation>
    </message>
    <message>
        <source>secondo bambino</source>
        <extracomment>The child of the middle row, a boy.</extracomment>
        <translation>zweites Kind</translation>
    </message>
    <message>
        <source>terza bambina</source>
        <extracomment>The child of the bottom row, a girl.</extracomment>
        <translation>drittes Kind</translation>
    </message>
    <message>
        <source>tortina senza fragole</source>
        <extracomment>A card of the tarts game that carries no strawberries, as a screen reader says it.</extracomment>
        <translation>Törtchen ohne Erdbeeren</translation>
    </message>
    <message numerus="yes">
        <source>tortina con %n fragole</source>
        <extracomment>A card of the tarts game: a tart with %n strawberries.</extracomment>
        <translation>
            <numerusform>Törtchen mit %n Erdbeere</numerusform>
            <numerusform>Törtchen mit %n Erdbeeren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>figurina da %n punti</source>
        <extracomment>A card of the stickers game: a sticker worth %n points.</extracomment>
        <translation>
            <numerusform>Sticker mit %n Punkt</numerusform>
            <numerusform>Sticker mit %n Punkten</numerusform>
        </translation>
    </message>
    <message>
        <source>primo bambino, carta %1 di %2</source>
        <extracomment>Where a card is: the top row&apos;s boy, card %1 of %2 counted from the left.</extracomment>
        <translation>erstes Kind, Karte %1 von %2</translation>
    </message>
    <message>
        <source>secondo bambino, carta %1 di %2</source>
        <extracomment>Where a card is: the middle row&apos;s boy, card %1 of %2 counted from the left.</extracomment>
        <translation>zweites Kind, Karte %1 von %2</translation>
    </message>
    <message>
        <source>terza bambina, carta %1 di %2</source>
        <extracomment>Where a card is: the bottom row&apos;s girl, card %1 of %2 counted from the left.</extracomment>
        <translation>drittes Kind, Karte %1 von %2</translation>
    </message>
    <message>
        <source>%1, presa</source>
        <extracomment>Told to a screen reader when a card is picked up; %1 is the card (&quot;tortina con 2 fragole&quot;).</extracomment>
        <translation>%1, aufgenommen</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>Told to a screen reader after a swap: %1 the card now in the place dropped on, %2 the move counter.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>ricomincia</source>
        <extracomment>The button under a won board that deals a new game.</extracomment>
        <translation>nochmal</translation>
    </message>
    <message>
        <source>aiuto</source>
        <extracomment>The button with a light bulb that shows two cards worth swapping.</extracomment>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Esci</source>
        <extracomment>The menu bar&apos;s item of a game screen that goes back to the main menu, after a question.</extracomment>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Merendella, tortine</source>
        <extracomment>What a screen reader calls the game of tarts.</extracomment>
        <translation>Merendella, Törtchen</translation>
    </message>
    <message>
        <source>Merendella, figurine</source>
        <extracomment>What a screen reader calls the game of stickers.</extracomment>
        <translation>Merendella, Sticker</translation>
    </message>
    <message>
        <source>prova a scambiare la %1 del primo bambino con la %2 del secondo bambino</source>
        <comment>tarts</comment>
        <extracomment>Help, said aloud: try swapping tart %1 of the top row&apos;s boy with tart %2 of the middle row&apos;s boy.</extracomment>
        <translation>versuche, das %1 des ersten Kindes mit dem %2 des zweiten Kindes zu tauschen</translation>
    </message>
    <message>
        <source>prova a scambiare la %1 del primo bambino con la %2 del secondo bambino</source>
        <comment>stickers</comment>
        <extracomment>Help, said aloud: try swapping sticker %1 of the top row&apos;s boy with sticker %2 of the middle row&apos;s boy.</extracomment>
        <translation>versuche, den %1 des ersten Kindes mit dem %2 des zweiten Kindes zu tauschen</translation>
    </message>
    <message>
        <source>prova a scambiare la %1 del primo bambino con la %2 della terza bambina</source>
        <comment>tarts</comment>
        <extracomment>Help, said aloud: try swapping tart %1 of the top row&apos;s boy with tart %2 of the bottom row&apos;s girl.</extracomment>
        <translation>versuche, das %1 des ersten Kindes mit dem %2 des dritten Kindes zu tauschen</translation>
    </message>
    <message>
        <source>prova a scambiare la %1 del primo bambino con la %2 della terza bambina</source>
        <comment>stickers</comment>
        <extracomment>Help, said aloud: try swapping sticker %1 of the top row&apos;s boy with sticker %2 of the bottom row&apos;s girl.</extracomment>
        <translation>versuche, den %1 des ersten Kindes mit dem %2 des dritten Kindes zu tauschen</translation>
    </message>
    <message>
        <source>prova a scambiare la %1 del secondo bambino con la %2 della terza bambina</source>
        <comment>tarts</comment>
        <extracomment>Help, said aloud: try swapping tart %1 of the middle row&apos;s boy with tart %2 of the bottom row&apos;s girl.</extracomment>
        <translation>versuche, das %1 des zweiten Kindes mit dem %2 des dritten Kindes zu tauschen</translation>
    </message>
    <message>
        <source>prova a scambiare la %1 del secondo bambino con la %2 della terza bambina</source>
        <comment>stickers</comment>
        <extracomment>Help, said aloud: try swapping sticker %1 of the middle row&apos;s boy with sticker %2 of the bottom row&apos;s girl.</extracomment>
        <translation>versuche, den %1 des zweiten Kindes mit dem %2 des dritten Kindes zu tauschen</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>sicuro di voler terminare?</source>
        <extracomment>The question asked by &quot;Esci&quot; in the main menu: does the child really want to end the game?</extracomment>
        <translation>Willst du wirklich aufhören?</translation>
    </message>
    <message>
        <source>mail: %1</source>
        <extracomment>The last line of the information box; %1 is the author&apos;s mail address.</extracomment>
        <translation>E-Mail: %1</translation>
    </message>
    <message>
        <source>Torte</source>
        <extracomment>The menu&apos;s button that opens the game of tarts (tortine) and strawberries.</extracomment>
        <translation>Törtchen</translation>
    </message>
    <message>
        <source>Figurine</source>
        <extracomment>The menu&apos;s button that opens the game of stickers (figurine) and points.</extracomment>
        <translation>Sticker</translation>
    </message>
    <message>
        <source>Informazioni</source>
        <extracomment>The menu&apos;s button that shows who made the game.</extracomment>
        <translation>Info</translation>
    </message>
    <message>
        <source>Esci</source>
        <extracomment>The menu&apos;s button that ends the game, after a question.</extracomment>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Merendella, menù</source>
        <extracomment>What a screen reader calls the main menu.</extracomment>
        <translation>Merendella, Menü</translation>
    </message>
</context>
<context>
    <name>Start</name>
    <message>
        <source>Merendella</source>
        <extracomment>The game&apos;s name, the title of its questions and of the information box. Keep it as it is.</extracomment>
        <translation>Merendella</translation>
    </message>
    <message>
        <source>Zuccheriva</source>
        <extracomment>The name of the program, shown as the title of the congratulation. Keep it as it is.</extracomment>
        <translation>Zuccheriva</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>The title of the box that says the game is already running.</extracomment>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>E&apos; già stata avviata una copia di questo programma!</source>
        <extracomment>The box shown when the game is started while it already runs.</extracomment>
        <translation>Eine Kopie dieses Programms läuft bereits!</translation>
    </message>
</context>
<context>
    <name>Title</name>
    <message>
        <source>Merendella</source>
        <extracomment>The game&apos;s name, large on the title screen. Keep it as it is.
----------
What a screen reader calls the title screen: the game&apos;s name.</extracomment>
        <translation>Merendella</translation>
    </message>
    <message>
        <source>21 aprile 2004</source>
        <extracomment>The date under the title: 21 April 2004.</extracomment>
        <translation>21. April 2004</translation>
    </message>
    <message>
        <source>Avvio</source>
        <extracomment>The start button of the title screen.</extracomment>
        <translation>Spielen</translation>
    </message>
</context>
<context>
    <name>Totals</name>
    <message numerus="yes">
        <source>primo bambino: %n fragole</source>
        <extracomment>The counting aid beside the top row&apos;s boy: his tarts carry %n strawberries in all.</extracomment>
        <translation>
            <numerusform>erstes Kind: %n Erdbeere</numerusform>
            <numerusform>erstes Kind: %n Erdbeeren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>primo bambino: %n punti</source>
        <extracomment>The counting aid beside the top row&apos;s boy: his stickers are worth %n points in all.</extracomment>
        <translation>
            <numerusform>erstes Kind: %n Punkt</numerusform>
            <numerusform>erstes Kind: %n Punkte</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>secondo bambino: %n fragole</source>
        <extracomment>The counting aid beside the middle row&apos;s boy: his tarts carry %n strawberries in all.</extracomment>
        <translation>
            <numerusform>zweites Kind: %n Erdbeere</numerusform>
            <numerusform>zweites Kind: %n Erdbeeren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>secondo bambino: %n punti</source>
        <extracomment>The counting aid beside the middle row&apos;s boy: his stickers are worth %n points in all.</extracomment>
        <translation>
            <numerusform>zweites Kind: %n Punkt</numerusform>
            <numerusform>zweites Kind: %n Punkte</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>terza bambina: %n fragole</source>
        <extracomment>The counting aid beside the bottom row&apos;s girl: her tarts carry %n strawberries in all.</extracomment>
        <translation>
            <numerusform>drittes Kind: %n Erdbeere</numerusform>
            <numerusform>drittes Kind: %n Erdbeeren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>terza bambina: %n punti</source>
        <extracomment>The counting aid beside the bottom row&apos;s girl: her stickers are worth %n points in all.</extracomment>
        <translation>
            <numerusform>drittes Kind: %n Punkt</numerusform>
            <numerusform>drittes Kind: %n Punkte</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 %2.</source>
        <extracomment>Said when the counting aid is on: the instructions (%1), then the three children&apos;s totals (%2).</extracomment>
        <translation>%1 %2.</translation>
    </message>
</context>
</TS>
