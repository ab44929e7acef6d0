-- The triggers of schema version 4, loaded by kramo-schema.sql and upgrade-3-to-4.sql.
--
-- Every change of a seller or an item raises the record's VERSION, whoever writes it, so a
-- desk that writes "only if VERSION is still what I saw" never overwrites another desk's
-- change. Every change is announced on the channel kramo_changes, so the other desks update
-- their lists within a moment: "i <item ID> <seller ID> u|d" and "s <seller ID> u|d"
-- (u: inserted or changed, d: removed).

CREATE FUNCTION kramo_next_version() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  NEW."VERSION" := OLD."VERSION" + 1;
  RETURN NEW;
END
$$;

CREATE TRIGGER sellers_version BEFORE UPDATE ON sellers
  FOR EACH ROW EXECUTE FUNCTION kramo_next_version();
CREATE TRIGGER items_version BEFORE UPDATE ON items
  FOR EACH ROW EXECUTE FUNCTION kramo_next_version();

CREATE FUNCTION kramo_notify_item() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  IF TG_OP = 'DELETE' THEN
    PERFORM pg_notify('kramo_changes', 'i ' || OLD."ID" || ' ' || OLD."SELLER_ID" || ' d');
    RETURN NULL;
  END IF;
  -- An item given to another seller leaves the former seller's list.
  IF TG_OP = 'UPDATE' AND OLD."SELLER_ID" <> NEW."SELLER_ID" THEN
    PERFORM pg_notify('kramo_changes', 'i ' || OLD."ID" || ' ' || OLD."SELLER_ID" || ' d');
  END IF;
  PERFORM pg_notify('kramo_changes', 'i ' || NEW."ID" || ' ' || NEW."SELLER_ID" || ' u');
  RETURN NULL;
END
$$;

CREATE FUNCTION kramo_notify_seller() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  IF TG_OP = 'DELETE' THEN
    PERFORM pg_notify('kramo_changes', 's ' || OLD."ID" || ' d');
  ELSE
    PERFORM pg_notify('kramo_changes', 's ' || NEW."ID" || ' u');
  END IF;
  RETURN NULL;
END
$$;

CREATE TRIGGER items_notify AFTER INSERT OR UPDATE OR DELETE ON items
  FOR EACH ROW EXECUTE FUNCTION kramo_notify_item();
CREATE TRIGGER sellers_notify AFTER INSERT OR UPDATE OR DELETE ON sellers
  FOR EACH ROW EXECUTE FUNCTION kramo_notify_seller();
