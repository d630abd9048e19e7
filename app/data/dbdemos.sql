-- DBDEMOS: the sample database of keldemo. The build turns this script into
-- data/dbdemos.sqlite beside the program with the sqlite3 tool.
--
-- Dates and times are ISO text in columns declared DATE, TIME and DATETIME; the dataset layer
-- reads them back as date, time and date-time fields. Booleans are 0/1, money is CURRENCY.

BEGIN TRANSACTION;

-- Fish of reefs and open seas. Lengths are typical adult maximums (ray widths for rays).
CREATE TABLE biolife (
  "Species No"   INTEGER PRIMARY KEY,
  "Category"     VARCHAR(15) NOT NULL,
  "Common_Name"  VARCHAR(30) NOT NULL,
  "Species Name" VARCHAR(40),
  "Length (cm)"  FLOAT,
  "Length_In"    FLOAT,
  "Notes"        MEMO,
  "Graphic"      GRAPHIC
);

INSERT INTO biolife VALUES
(90010, 'Shark', 'Great White Shark', 'Carcharodon carcharias', 600, 236.22,
 'The largest predatory fish alive. It patrols cool coastal seas around the world and hunts seals and sea lions by rushing up at them from below. Its body is kept warmer than the surrounding water, which lets it swim fast in cold seas.', NULL),
(90020, 'Shark', 'Whale Shark', 'Rhincodon typus', 1200, 472.44,
 'The biggest fish of all, yet it eats plankton and small fish that it filters from the water through its gills. Every animal has its own pattern of pale spots, so divers and researchers can tell individuals apart from photographs.', NULL),
(90030, 'Shark', 'Great Hammerhead', 'Sphyrna mokarran', 610, 240.16,
 'The wide, flat head spreads its eyes and sense organs apart, which helps it find stingrays buried in the sand. It roams warm coastal waters mostly alone.', NULL),
(90040, 'Shark', 'Nurse Shark', 'Ginglymostoma cirratum', 300, 118.11,
 'A slow bottom dweller that rests in caves and under ledges by day, often piled up with others. At night it sucks crabs, snails and small fish out of their hiding places.', NULL),
(90050, 'Ray', 'Giant Manta Ray', 'Mobula birostris', 700, 275.59,
 'A gentle giant of the open ocean that feeds on plankton. Mantas visit cleaning stations on reefs, where small fish pick parasites off their skin. They have one of the largest brains of any fish.', NULL),
(90060, 'Ray', 'Spotted Eagle Ray', 'Aetobatus narinari', 300, 118.11,
 'Flies through the water in groups, beating its wide dark fins dotted with white. It digs clams and snails out of the sand with its duck-like snout and cracks them with plate-like teeth.', NULL),
(90070, 'Angelfish', 'Queen Angelfish', 'Holacanthus ciliaris', 45, 17.72,
 'Electric blue and yellow, with a dark crown spot ringed in blue on its forehead. It grazes on sponges along Caribbean reefs and usually keeps to a pair.', NULL),
(90080, 'Angelfish', 'Emperor Angelfish', 'Pomacanthus imperator', 40, 15.75,
 'Young fish wear white rings on a dark blue body; adults change to yellow and blue stripes. It can make a knocking sound when disturbed.', NULL),
(90090, 'Butterflyfish', 'Threadfin Butterflyfish', 'Chaetodon auriga', 23, 9.06,
 'A thin filament trails from its back fin, and a dark eye band hides its real eye while a spot near the tail looks like one, confusing predators.', NULL),
(90100, 'Damselfish', 'Clown Anemonefish', 'Amphiprion ocellaris', 11, 4.33,
 'Lives among the stinging tentacles of sea anemones, protected by a layer of mucus. All are born male; the largest fish of a group becomes the female.', NULL),
(90110, 'Wrasse', 'Humphead Wrasse', 'Cheilinus undulatus', 229, 90.16,
 'A very large reef fish with a bulging forehead and thick lips. It is one of the few animals that eat crown-of-thorns starfish and poisonous boxfish. Overfishing has made it rare.', NULL),
(90120, 'Wrasse', 'Bluestreak Cleaner Wrasse', 'Labroides dimidiatus', 14, 5.51,
 'Runs a cleaning station where larger fish queue up to have parasites and dead skin picked off, even from inside their mouths.', NULL),
(90130, 'Grouper', 'Goliath Grouper', 'Epinephelus itajara', 250, 98.43,
 'Can weigh more than a grown cow. It lurks around wrecks and ledges, swallows its prey whole and can boom loudly to warn off intruders.', NULL),
(90140, 'Grouper', 'Leopard Coral Grouper', 'Plectropomus leopardus', 120, 47.24,
 'Red or brown with tiny blue spots. It sometimes hunts together with moray eels, which chase prey out of crevices.', NULL),
(90150, 'Snapper', 'Red Snapper', 'Lutjanus campechanus', 100, 39.37,
 'Pink-red fish of the Gulf of Mexico and the western Atlantic, prized by anglers. It gathers around rocky bottoms and artificial reefs.', NULL),
(90160, 'Snapper', 'Bluestriped Snapper', 'Lutjanus kasmira', 40, 15.75,
 'Yellow with four bright blue stripes, forming large schools by day that break up to feed at night.', NULL),
(90170, 'Triggerfish', 'Clown Triggerfish', 'Balistoides conspicillum', 50, 19.69,
 'Big white spots on a dark belly and a yellow mouth. A locking spine on its back wedges it into holes where predators cannot pull it out.', NULL),
(90180, 'Triggerfish', 'Lagoon Triggerfish', 'Rhinecanthus aculeatus', 30, 11.81,
 'Painted in patches of blue, yellow and black. It guards a small territory over sand and rubble and grunts when alarmed.', NULL),
(90190, 'Parrotfish', 'Green Humphead Parrotfish', 'Bolbometopon muricatum', 130, 51.18,
 'Bites off chunks of coral with its fused beak and grinds them up; much of the white sand on reefs passes through parrotfish. Schools sleep together in sheltered spots.', NULL),
(90200, 'Moray', 'Green Moray', 'Gymnothorax funebris', 250, 98.43,
 'Its brown skin looks green because of a yellow mucus coat. It breathes by opening and closing its mouth, which looks threatening but only pumps water over the gills.', NULL),
(90210, 'Pufferfish', 'White-spotted Puffer', 'Arothron hispidus', 50, 19.69,
 'Inflates with water into a prickly ball when threatened. Its organs contain a strong poison.', NULL),
(90220, 'Scorpionfish', 'Red Lionfish', 'Pterois volitans', 38, 14.96,
 'Fan-like fins and venomous spines make it easy to recognise. Released outside its home in the Indo-Pacific, it has spread widely through the western Atlantic and Caribbean.', NULL),
(90230, 'Barracuda', 'Great Barracuda', 'Sphyraena barracuda', 200, 78.74,
 'A long silver hunter with a jutting lower jaw full of sharp teeth. It often follows divers out of curiosity and can strike at great speed.', NULL),
(90240, 'Tuna', 'Atlantic Bluefin Tuna', 'Thunnus thynnus', 300, 118.11,
 'A warm-bodied ocean traveller that crosses the Atlantic and dives deep to hunt. It is among the fastest and largest bony fish.', NULL),
(90250, 'Billfish', 'Swordfish', 'Xiphias gladius', 455, 179.13,
 'Slashes at schooling fish with its flat bill. A special organ warms its eyes and brain so it can hunt in the cold deep water at night.', NULL),
(90260, 'Surgeonfish', 'Blue Tang', 'Paracanthurus hepatus', 31, 12.2,
 'Royal blue with a yellow tail. Sharp blades near the tail, like a surgeon''s scalpel, give the family its name.', NULL),
(90270, 'Pipefish', 'Big-belly Seahorse', 'Hippocampus abdominalis', 35, 13.78,
 'The male carries the eggs in a pouch on his belly until the young are born. It holds on to seaweed with its curled tail.', NULL),
(90280, 'Shark', 'Blacktip Reef Shark', 'Carcharhinus melanopterus', 200, 78.74,
 'Black tips mark its fins. It often swims in very shallow water over reef flats, its dorsal fin cutting the surface.', NULL),
(90290, 'Jack', 'Giant Trevally', 'Caranx ignobilis', 170, 66.93,
 'A powerful hunter of reefs and lagoons that has been seen leaping out of the water to catch young seabirds.', NULL),
(90300, 'Ray', 'Southern Stingray', 'Hypanus americanus', 150, 59.06,
 'Lies buried in the sand with only its eyes showing. The barbed spine on its tail is for defence, not for hunting.', NULL);

-- Countries: area in square kilometres and population, rounded recent figures.
CREATE TABLE country (
  "Name"       VARCHAR(24) PRIMARY KEY,
  "Capital"    VARCHAR(24),
  "Continent"  VARCHAR(24),
  "Area"       FLOAT,
  "Population" FLOAT
);

INSERT INTO country VALUES
('Argentina', 'Buenos Aires', 'South America', 2780400, 46300000),
('Bolivia', 'Sucre', 'South America', 1098581, 12200000),
('Brazil', 'Brasília', 'South America', 8515767, 203100000),
('Canada', 'Ottawa', 'North America', 9984670, 40100000),
('Chile', 'Santiago', 'South America', 756102, 19600000),
('Colombia', 'Bogotá', 'South America', 1141748, 52200000),
('Costa Rica', 'San José', 'North America', 51100, 5200000),
('Cuba', 'Havana', 'North America', 109884, 11100000),
('Ecuador', 'Quito', 'South America', 283561, 18000000),
('El Salvador', 'San Salvador', 'North America', 21041, 6300000),
('Guyana', 'Georgetown', 'South America', 214969, 800000),
('Jamaica', 'Kingston', 'North America', 10991, 2800000),
('Mexico', 'Mexico City', 'North America', 1964375, 129000000),
('Nicaragua', 'Managua', 'North America', 130373, 6900000),
('Panama', 'Panama City', 'North America', 75417, 4400000),
('Paraguay', 'Asunción', 'South America', 406752, 6900000),
('Peru', 'Lima', 'South America', 1285216, 34000000),
('United States', 'Washington', 'North America', 9833520, 335000000),
('Uruguay', 'Montevideo', 'South America', 176215, 3400000),
('Venezuela', 'Caracas', 'South America', 916445, 28300000),
('Australia', 'Canberra', 'Oceania', 7692024, 26600000),
('Japan', 'Tokyo', 'Asia', 377975, 124500000),
('Kenya', 'Nairobi', 'Africa', 580367, 55100000),
('Norway', 'Oslo', 'Europe', 385207, 5500000),
('Portugal', 'Lisbon', 'Europe', 92212, 10500000);

-- Orders of a dive shop: every field type that the filter editor offers.
CREATE TABLE orders (
  "OrderNo"      INTEGER PRIMARY KEY,
  "Customer"     VARCHAR(30) NOT NULL,
  "Country"      VARCHAR(24),
  "SaleDate"     DATE,
  "ShipTime"     TIME,
  "Shipped"      DATETIME,
  "Paid"         BOOLEAN,
  "ItemsTotal"   CURRENCY,
  "TaxRate"      NUMERIC(5,2),
  "Items"        SMALLINT,
  "Remarks"      TEXT
);

INSERT INTO orders VALUES
(1001, 'Blue Lagoon Divers', 'Jamaica', '2024-01-08', '09:30:00', '2024-01-09 14:10:00', 1, 1250.50, 7.50, 4, 'Regulators for the spring season'),
(1002, 'Coral Reef Club', 'Australia', '2024-01-15', '11:00:00', '2024-01-17 08:45:00', 1, 389.00, 10.00, 2, NULL),
(1003, 'Deep Blue Academy', 'Mexico', '2024-02-02', '15:45:00', NULL, 0, 2760.00, 16.00, 12, 'Waiting for the wetsuits'),
(1004, 'Kelp Forest Outfitters', 'United States', '2024-02-14', '08:15:00', '2024-02-15 10:00:00', 1, 99.95, 8.25, 1, 'Gift card'),
(1005, 'Manta Point Dive Centre', 'Ecuador', '2024-03-01', '13:20:00', '2024-03-04 16:30:00', 1, 4120.75, 12.00, 9, NULL),
(1006, 'Nordic Cold Water Diving', 'Norway', '2024-03-11', '10:05:00', NULL, 0, 1875.00, 25.00, 6, 'Drysuits, sizes to confirm'),
(1007, 'Pacific Edge Scuba', 'Chile', '2024-03-29', '17:40:00', '2024-04-02 09:15:00', 1, 612.40, 19.00, 3, NULL),
(1008, 'Reef Watchers', 'Costa Rica', '2024-04-05', '12:00:00', '2024-04-08 11:20:00', 0, 245.00, 13.00, 2, 'Paid on delivery'),
(1009, 'Sardine Run Expeditions', 'Kenya', '2024-04-19', '09:00:00', '2024-04-22 13:50:00', 1, 3330.00, 16.00, 10, NULL),
(1010, 'Seahorse Bay Diving', 'Portugal', '2024-05-06', '14:25:00', NULL, NULL, 154.90, 23.00, 1, 'Order by phone'),
(1011, 'Tropic Wave Shop', 'Brazil', '2024-05-20', '16:10:00', '2024-05-23 15:00:00', 1, 980.00, 17.00, 5, NULL),
(1012, 'Wreck Hunters', 'Canada', '2024-06-03', '07:55:00', '2024-06-04 12:30:00', 1, 5210.00, 13.00, 15, 'Lights and reels for the wreck course'),
(1013, 'Blue Lagoon Divers', 'Jamaica', '2024-06-17', '10:40:00', '2024-06-18 09:05:00', 1, 430.25, 7.50, 2, NULL),
(1014, 'Galapagos Underwater', 'Ecuador', '2024-07-01', '11:30:00', NULL, 0, 2045.60, 12.00, 7, 'Second order this year'),
(1015, 'Rising Sun Marine', 'Japan', '2024-07-15', '18:05:00', '2024-07-19 10:40:00', 1, 1420.00, 10.00, 4, NULL);

COMMIT;
