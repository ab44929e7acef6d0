-- Brings a database of schema version 3 to version 4, keeping every row. Stop the cash desks,
-- keep a dump (pg_dump), then run once as the database's owner:
--   psql -h ADDRESS -U kramo -d kramo -v ON_ERROR_STOP=1 -f sql/upgrade-3-to-4.sql
-- All or nothing: a database of another version is left as it is.
--
-- Version 4 refuses two sellers with one code (letter case aside). Where version 3 had such
-- sellers, every holder but the first added gets the code "<code>-<seller ID>"; the script
-- names each of them, so their labels and sheets can be checked.

BEGIN;

DO $$
DECLARE
  found integer;
BEGIN
  SELECT "VERSION" INTO found FROM info;
  IF found IS DISTINCT FROM 3 THEN
    RAISE EXCEPTION 'Táto databáza má verziu schémy %, skript ju prevedie len z verzie 3.',
      coalesce(found::text, 'neznámu');
  END IF;
END
$$;

ALTER TABLE sellers
  ADD COLUMN "VERSION" integer NOT NULL DEFAULT 1,
  ADD COLUMN "IMPORT_KEY" text UNIQUE;
ALTER TABLE items ADD COLUMN "VERSION" integer NOT NULL DEFAULT 1;

DO $$
DECLARE
  renamed record;
BEGIN
  FOR renamed IN
    UPDATE sellers AS later SET "SHORT_CODE" = later."SHORT_CODE" || '-' || later."ID"
    WHERE EXISTS (SELECT 1 FROM sellers AS first
                  WHERE lower(first."SHORT_CODE") = lower(later."SHORT_CODE")
                    AND first."ID" < later."ID")
    RETURNING later."ID", later."SHORT_CODE", later."NAME"
  LOOP
    RAISE NOTICE 'Predajca % (%) má nový kód %: jeho pôvodný kód mal aj iný predajca.',
      renamed."ID", renamed."NAME", renamed."SHORT_CODE";
  END LOOP;
END
$$;
DROP INDEX sellers_short_code;
CREATE UNIQUE INDEX sellers_short_code ON sellers (lower("SHORT_CODE"));

-- The sales of version 3 had no key; each gets one no desk makes (desks make 32 hex digits).
ALTER TABLE sold
  ADD COLUMN "SALE_KEY" text,
  ADD COLUMN "DESK" text NOT NULL DEFAULT '',
  ADD COLUMN "CANCELLED" boolean NOT NULL DEFAULT false;
UPDATE sold SET "SALE_KEY" = 'v3-' || "ID", "CANCELLED" = ("TITLE" = 'Storno');
ALTER TABLE sold ALTER COLUMN "SALE_KEY" SET NOT NULL, ADD UNIQUE ("SALE_KEY");
CREATE INDEX sold_desk_date ON sold ("DESK", "DATE");

-- Version 3 kept no price with the sale: the item's price now is the best there is.
ALTER TABLE sold_item
  ADD COLUMN "PRICE" numeric(12, 4) NOT NULL DEFAULT 0,
  ADD COLUMN "FORCED" boolean NOT NULL DEFAULT false;
UPDATE sold_item SET "PRICE" = items."PRICE" FROM items WHERE items."ID" = sold_item."ITEM_ID";
CREATE INDEX sold_item_sold ON sold_item ("SOLD_ID");

\ir kramo-triggers.sql

UPDATE info SET "VERSION" = 4;

COMMIT;
